#include "platform/linux/InotifyFileWatcher.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

FileWatch::Events delivered(const QSignalSpy &spy) {
    FileWatch::Events events;
    for (const QList<QVariant> &arguments : spy)
        events |= arguments.at(0).value<FileWatch::Events>();
    return events;
}

} // namespace

class InotifyFileWatcherTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath("Figma/settings.json"); }

private slots:
    void init() {
        QVERIFY(QDir(dir.path()).mkpath("Figma"));
        QVERIFY(writeFile(path(), "{}"));
    }
    void cleanup() { QDir(dir.filePath("Figma")).removeRecursively(); }

    // Every way a program changes the file is reported, once, as what it was.
    void changesOfTheFile_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<FileWatch::Events>("expected");
        QTest::newRow("write") << "write" << FileWatch::Events(FileWatch::Write);
        QTest::newRow("append") << "append" << FileWatch::Events(FileWatch::Write);
        QTest::newRow("rename away") << "rename" << FileWatch::Events(FileWatch::Rename);
        QTest::newRow("delete") << "delete" << FileWatch::Events(FileWatch::Delete);
        // A saver's temporary file renamed over the old one.
        QTest::newRow("atomic replace") << "replace" << (FileWatch::Delete | FileWatch::Created);
    }
    void changesOfTheFile() {
        QFETCH(QString, change);
        QFETCH(FileWatch::Events, expected);
        InotifyFileWatcher watcher;
        const auto watch = watcher.watch(path(), 50ms);
        QVERIFY(watch);
        QSignalSpy spy(watch.get(), &FileWatch::changed);

        if (change == "write") {
            QVERIFY(writeFile(path(), "{\"windows\":[]}"));
        } else if (change == "append") {
            QFile file(path());
            QVERIFY(file.open(QIODevice::Append) && file.write(" ") == 1);
        } else if (change == "rename") {
            QVERIFY(QFile::rename(path(), path() + ".old"));
        } else if (change == "delete") {
            QVERIFY(QFile::remove(path()));
        } else {
            QSaveFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("{\"windows\":[]}");
            QVERIFY(file.commit());
        }
        QTRY_COMPARE(delivered(spy), expected);
        QTest::qWait(100);
        QCOMPARE(delivered(spy), expected);
    }

    // A burst of writes costs two reports, not one per write.
    void burstOfWritesMergesWhileSettling() {
        InotifyFileWatcher watcher;
        const auto watch = watcher.watch(path(), 200ms);
        QSignalSpy spy(watch.get(), &FileWatch::changed);
        QVERIFY(writeFile(path(), "{}"));
        QTest::qWait(50);
        for (int write = 0; write < 5; ++write)
            QVERIFY(writeFile(path(), "{}"));
        // The first write is delivered after one settle time, the other five together after a
        // second one.
        QTRY_COMPARE(spy.count(), 2);
        QTest::qWait(300);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(delivered(spy), FileWatch::Events(FileWatch::Write));
    }

    // A watch destroyed while an event settles reports nothing.
    void destroyedWatchReportsNothing() {
        InotifyFileWatcher watcher;
        auto watch = watcher.watch(path(), 50ms);
        QSignalSpy spy(watch.get(), &FileWatch::changed);
        QVERIFY(writeFile(path(), "{}"));
        QTest::qWait(10); // now settling on the watch thread
        watch.reset();
        auto other = watcher.watch(path(), 50ms);
        QSignalSpy otherSpy(other.get(), &FileWatch::changed);
        QVERIFY(writeFile(path(), "{}"));
        QTRY_COMPARE(otherSpy.count(), 1);
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_GUILESS_MAIN(InotifyFileWatcherTest)
#include "tst_inotifyfilewatcher.moc"
