#include "platform/linux/InotifyFileWatcher.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

// Writes, deletes and replacements of the session file are followed end to end by the live tab
// manager test, and bursts and watches renewed mid-settle by the flood test.
class InotifyFileWatcherTest : public QObject {
    Q_OBJECT

private slots:
    // A session file renamed away is reported as a rename, so the list does not keep showing the
    // tabs of a file that is no longer there.
    void fileRenamedAwayIsReportedAsARename() {
        QTemporaryDir dir;
        const QString path = dir.filePath("Figma/settings.json");
        QVERIFY(writeFile(path, "{}"));
        InotifyFileWatcher watcher;
        const auto watch = watcher.watch(path, 50ms);
        QVERIFY(watch);
        QSignalSpy spy(watch.get(), &FileWatch::changed);
        QVERIFY(QFile::rename(path, path + ".old"));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(0).value<FileWatch::Events>(),
                 FileWatch::Events(FileWatch::Rename));
    }
};

QTEST_GUILESS_MAIN(InotifyFileWatcherTest)
#include "tst_inotifyfilewatcher.moc"
