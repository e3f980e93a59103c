#include "stores/FolderStore.h"
#include "support/TestFiles.h"
#include "support/TestTabs.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <memory>
#include <thread>

#include <unistd.h>

// Damaged files, failed saves and paths that are no files, for both stores: tests/robustness.
class StoreFileTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString filePath() const { return m_dir->filePath("folders.json"); }
    QStringList asideFiles() const {
        return QDir(m_dir->path()).entryList({"folders.json.unreadable-*"}, QDir::Files);
    }
    // A file of one folder holding `tabCount` tabs.
    static PersistedData oneFolder(int tabCount) {
        QStringList tabIDs;
        for (int i = 0; i < tabCount; ++i)
            tabIDs.append(QStringLiteral("tab-%1").arg(i));
        return {{{QUuid::createUuid(), "0", tabIDs, true}}, {"u"}};
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // A later damaged or unreadable file never replaces the copy kept of an earlier one.
    void everyUnreadableFileIsKeptAside() {
        const bool root = geteuid() == 0; // file permissions do not bind root
        for (int round = 1; round <= 2; ++round) {
            const QByteArray damaged = "{\"folders\":[" + QByteArray::number(round);
            QVERIFY(writeFile(filePath(), round == 2 && !root ? oneFolder(1).encode() : damaged));
            if (round == 2 && !root)
                QFile::setPermissions(filePath(), {});
            FolderStore store(m_dir->path());
            QVERIFY(store.folders().isEmpty());
            store.createFolder("New");
            store.createFolder("Newer");
            QCOMPARE(asideFiles().size(), round);
        }
        QByteArrayList kept;
        for (const QString &name : asideFiles())
            kept.append(readFile(m_dir->filePath(name)));
        QVERIFY(kept.contains("{\"folders\":[1"));
    }

    void readersNeverSeeAHalfWrittenFile() {
        const PersistedData seed = oneFolder(400);
        QVERIFY(writeFile(filePath(), seed.encode()));
        FolderStore store(m_dir->path());
        std::atomic<bool> done = false;
        std::atomic<int> reads = 0;
        std::atomic<int> bad = 0;
        std::thread reader([&] {
            while (!done) {
                const auto data = PersistedData::decode(readFile(filePath()));
                if (!data || data->folders.size() != 1 ||
                    data->folders.first().tabIDs.size() != 400)
                    ++bad;
                ++reads;
            }
        });
        for (int i = 1; i <= 100 || reads < 100; ++i)
            store.renameFolder(seed.folders.first().id, QString::number(i));
        done = true;
        reader.join();
        QCOMPARE(bad.load(), 0);
    }

    void killedWriterLeavesOldOrNewState() {
        const PersistedData seed = oneFolder(300);
        QVERIFY(writeFile(filePath(), seed.encode()));
        int lastNumber = 0;
        for (int kill = 0; kill < 200; ++kill) {
            QProcess writer;
            writer.start(QStringLiteral(SAVE_LOOP_PATH), {m_dir->path()});
            QVERIFY(writer.waitForReadyRead(10000));
            QThread::usleep(QRandomGenerator::global()->bounded(5000));
            writer.kill();
            QVERIFY(writer.waitForFinished(10000));

            const auto data = PersistedData::decode(readFile(filePath()));
            QVERIFY2(data.has_value(), qPrintable(QStringLiteral("after kill %1").arg(kill)));
            QCOMPARE(data->folders.size(), 1);
            QCOMPARE(data->folders.first().tabIDs, seed.folders.first().tabIDs);
            QCOMPARE(data->ungroupedOrder, seed.ungroupedOrder);
            const int number = data->folders.first().name.toInt();
            QVERIFY(number > lastNumber); // every run saved at least once before its kill
            lastNumber = number;
        }
    }
};

QTEST_GUILESS_MAIN(StoreFileTest)
#include "tst_storefile.moc"
