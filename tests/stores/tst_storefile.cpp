#include "StoreTestSupport.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"

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

namespace {

const QByteArray damaged = "{\"folders\":[{\"id\":\"not-a-uuid\"";

// One of the two stores, reduced to what these tests need: its file and one change.
struct StoreUnderTest {
    QString fileName;
    std::function<std::shared_ptr<QObject>(const QString &directory)> open;
    std::function<void(QObject *)> change;
    std::function<bool(QObject *)> isEmpty;
};

StoreUnderTest storeUnderTest(const QString &name) {
    if (name == "folders.json") {
        return {name, [](const QString &dir) { return std::make_shared<FolderStore>(dir); },
                [](QObject *s) { static_cast<FolderStore *>(s)->createFolder("New"); },
                [](QObject *s) { return static_cast<FolderStore *>(s)->folders().isEmpty(); }};
    }
    return {
        name, [](const QString &dir) { return std::make_shared<RecentlyClosedStore>(dir); },
        [](QObject *s) { static_cast<RecentlyClosedStore *>(s)->clear(); },
        [](QObject *s) { return static_cast<RecentlyClosedStore *>(s)->closedTabs().isEmpty(); }};
}

QStringList asideFiles(const QString &directory, const QString &fileName) {
    return QDir(directory).entryList({fileName + ".unreadable-*"}, QDir::Files, QDir::Name);
}

} // namespace

class StoreFileTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void bothStores_data() {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("folders") << "folders.json";
        QTest::newRow("recently closed") << "recently_closed.json";
    }

    void undecodableFileIsMovedAsideBeforeTheFirstSave_data() { bothStores_data(); }
    void undecodableFileIsMovedAsideBeforeTheFirstSave() {
        QFETCH(QString, fileName);
        const StoreUnderTest store = storeUnderTest(fileName);
        const QString path = m_dir->filePath(fileName);
        for (int round = 1; round <= 2; ++round) {
            const QByteArray original = damaged + QByteArray::number(round);
            writeContents(path, original);
            const auto opened = store.open(m_dir->path());
            QVERIFY(store.isEmpty(opened.get()));
            QCOMPARE(fileContents(path), original);
            store.change(opened.get());
            store.change(opened.get());

            const QStringList aside = asideFiles(m_dir->path(), fileName);
            QCOMPARE(aside.size(), round); // a later one never replaces an earlier one
            QByteArrayList kept;
            for (const QString &name : aside)
                kept.append(fileContents(m_dir->filePath(name)));
            QVERIFY(kept.contains(original));
            QVERIFY(store.open(m_dir->path()) != nullptr);
            QVERIFY(fileContents(path) != original);
        }
    }

    void goodOrMissingFileIsNeverMovedAside_data() { bothStores_data(); }
    void goodOrMissingFileIsNeverMovedAside() {
        QFETCH(QString, fileName);
        const StoreUnderTest store = storeUnderTest(fileName);
        store.change(store.open(m_dir->path()).get());
        store.change(store.open(m_dir->path()).get());
        QVERIFY(asideFiles(m_dir->path(), fileName).isEmpty());
    }

    void unreadableFileIsMovedAside() {
        if (geteuid() == 0)
            QSKIP("file permissions do not bind root");
        const QString path = m_dir->filePath("folders.json");
        writeContents(path, PersistedData{{{QUuid::createUuid(), "Kept", {}, true}}, {}}.encode());
        QFile::setPermissions(path, {});
        FolderStore store(m_dir->path());
        QVERIFY(store.folders().isEmpty());
        store.createFolder("New");
        QCOMPARE(asideFiles(m_dir->path(), "folders.json").size(), 1);
    }

    void failedSaveLeavesTheFileAlone_data() { bothStores_data(); }
    void failedSaveLeavesTheFileAlone() {
        QFETCH(QString, fileName);
        const StoreUnderTest store = storeUnderTest(fileName);
        const QString path = m_dir->filePath(fileName);
        QVERIFY(QDir().mkpath(path + "/inside"));
        const auto opened = store.open(m_dir->path());
        store.change(opened.get());
        QVERIFY(QFileInfo(path + "/inside").isDir());
        QVERIFY(asideFiles(m_dir->path(), fileName).isEmpty());

        // A directory that cannot be created.
        writeContents(m_dir->filePath("blocked"), "file");
        store.change(store.open(m_dir->filePath("blocked/Nookery")).get());
        QCOMPARE(fileContents(m_dir->filePath("blocked")), QByteArray("file"));
    }

    void readOnlyDirectoryKeepsThePreviousFile() {
        if (geteuid() == 0)
            QSKIP("file permissions do not bind root");
        FolderStore store(m_dir->path());
        store.createFolder("Kept");
        const QByteArray saved = fileContents(m_dir->filePath("folders.json"));
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner);
        store.createFolder("Lost");
        QFile::setPermissions(m_dir->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(fileContents(m_dir->filePath("folders.json")), saved);
    }

    void readersNeverSeeAHalfWrittenFile() {
        QStringList tabIDs;
        for (int i = 0; i < 400; ++i)
            tabIDs.append(QStringLiteral("tab-%1").arg(i));
        const QUuid id = QUuid::createUuid();
        writeContents(m_dir->filePath("folders.json"),
                      PersistedData{{{id, "0", tabIDs, true}}, {}}.encode());
        FolderStore store(m_dir->path());
        std::atomic<bool> done = false;
        std::atomic<int> reads = 0;
        std::atomic<int> bad = 0;
        std::thread reader([&] {
            const QString path = m_dir->filePath("folders.json");
            while (!done) {
                const auto data = PersistedData::decode(fileContents(path));
                if (!data || data->folders.size() != 1 ||
                    data->folders.first().tabIDs.size() != 400)
                    ++bad;
                ++reads;
            }
        });
        for (int i = 1; i <= 100 || reads < 100; ++i)
            store.renameFolder(id, QString::number(i));
        done = true;
        reader.join();
        QCOMPARE(bad.load(), 0);
    }

    void killedWriterLeavesOldOrNewState() {
        const QString path = m_dir->filePath("folders.json");
        QStringList tabIDs;
        for (int i = 0; i < 300; ++i)
            tabIDs.append(QStringLiteral("tab-%1").arg(i));
        const PersistedData seed{{{QUuid::createUuid(), "0", tabIDs, true}}, {"u"}};
        writeContents(path, seed.encode());

        int lastNumber = 0;
        for (int kill = 0; kill < 200; ++kill) {
            QProcess writer;
            writer.start(QStringLiteral(SAVE_LOOP_PATH), {m_dir->path()});
            QVERIFY(writer.waitForReadyRead(10000));
            QThread::usleep(QRandomGenerator::global()->bounded(5000));
            writer.kill();
            QVERIFY(writer.waitForFinished(10000));

            const auto data = PersistedData::decode(fileContents(path));
            QVERIFY2(data.has_value(), qPrintable(QStringLiteral("after kill %1").arg(kill)));
            QCOMPARE(data->folders.size(), 1);
            QCOMPARE(data->folders.first().tabIDs, tabIDs);
            QCOMPARE(data->ungroupedOrder, seed.ungroupedOrder);
            const int number = data->folders.first().name.toInt();
            QVERIFY(number > lastNumber); // every run saved at least once before its kill
            lastNumber = number;
        }
    }
};

QTEST_GUILESS_MAIN(StoreFileTest)
#include "tst_storefile.moc"
