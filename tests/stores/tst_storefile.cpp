// Both stores' files after years on disk: damaged, mistyped, not UTF-8, not even files. The stores
// start empty and keep the damaged bytes aside; a save that fails or is killed leaves the previous
// file whole.

#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "support/TestFiles.h"
#include "support/TestTabs.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One store seen through what these tests need: open it, change it, and count what it holds.
struct Store {
    std::function<std::shared_ptr<QObject>(const QString &directory)> open;
    std::function<void(QObject *)> change;
    std::function<int(QObject *)> size;
};

Store storeFor(const QString &fileName) {
    if (fileName == "folders.json")
        return {[](const QString &dir) { return std::make_shared<FolderStore>(dir); },
                [](QObject *s) { static_cast<FolderStore *>(s)->createFolder(QString(300, u'n')); },
                [](QObject *s) { return int(static_cast<FolderStore *>(s)->folders().size()); }};
    return {
        [](const QString &dir) { return std::make_shared<RecentlyClosedStore>(dir); },
        [](QObject *s) {
            const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
            static_cast<RecentlyClosedStore *>(s)->recordClosed({openTab(id, QString(300, u't'))},
                                                                {});
        },
        [](QObject *s) { return int(static_cast<RecentlyClosedStore *>(s)->closedTabs().size()); }};
}

QByteArray utf16(const QByteArray &utf8) {
    const QString text = QString::fromUtf8(utf8);
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), 2 * text.size());
}

// Files may grow no larger than `bytes` while it lives: root ignores permissions, not this.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace

class StoreFileTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QByteArrayList asideContents(const QString &fileName) const {
        QByteArrayList contents;
        for (const QString &name :
             QDir(m_dir->path()).entryList({fileName + ".unreadable-*"}, QDir::AllEntries))
            contents.append(readFile(m_dir->filePath(name)));
        return contents;
    }
    static void bothStores() {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("folders") << "folders.json";
        QTest::newRow("recently closed") << "recently_closed.json";
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // Kept aside at the first save, and a later damaged file never replaces the copy kept.
    void damagedFileIsKeptAside_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("contents");
        const QByteArray folder = R"({"id":"0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B","name":"N",)"
                                  R"("tabIDs":["k1"],"isExpanded":true})";
        const QByteArray closed = R"({"stableID":"A","title":"T","url":"u","closedDate":9e8})";
        const auto add = [](const char *name, const QByteArray &folders, const QByteArray &recent) {
            QTest::addRow("folders, %s", name) << "folders.json" << folders;
            QTest::addRow("recently closed, %s", name) << "recently_closed.json" << recent;
        };
        add("truncated", R"({"folders":[)" + folder.left(40), "[" + closed.left(30));
        add("wrong types", R"({"folders":{},"ungroupedOrder":[]})",
            R"([{"stableID":1,"title":"T","url":"u","closedDate":1}])");
        add("not UTF-8", "[" + QByteArray(folder).replace("\"N\"", "\"\xe9t\xe9\"") + "]",
            "[" + QByteArray(closed).replace("\"T\"", "\"\xe9t\xe9\"") + "]");
        add("UTF-16", utf16("[" + folder + "]"), utf16("[" + closed + "]"));
        add("NUL bytes", QByteArray("[\0]", 3), QByteArray("\0\0\0\0", 4));
        add("empty", "", "");
        add("JSON of another shape", "42", R"({"tabs":[]})");
    }
    void damagedFileIsKeptAside() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, contents);
        const Store store = storeFor(fileName);
        const QString path = m_dir->filePath(fileName);
        QByteArrayList kept;
        for (const QByteArray &damaged : {contents, QByteArray("{")}) {
            QVERIFY(writeFile(path, damaged));
            const auto opened = store.open(m_dir->path());
            QCOMPARE(store.size(opened.get()), 0);
            QCOMPARE(readFile(path), damaged);
            store.change(opened.get());
            store.change(opened.get());
            kept.append(damaged);
            QCOMPARE(asideContents(fileName).size(), kept.size());
            for (const QByteArray &bytes : kept)
                QVERIFY(asideContents(fileName).contains(bytes));
            QCOMPARE(store.size(store.open(m_dir->path()).get()), 2);
        }
    }

    void unreadableFileIsKeptAside_data() { bothStores(); }
    void unreadableFileIsKeptAside() {
        QFETCH(QString, fileName);
        if (::geteuid() == 0)
            QSKIP("root reads files without read permission");
        const Store store = storeFor(fileName);
        const QString path = m_dir->filePath(fileName);
        store.change(store.open(m_dir->path()).get());
        QVERIFY(QFile::setPermissions(path, {}));
        const auto opened = store.open(m_dir->path());
        QCOMPARE(store.size(opened.get()), 0);
        store.change(opened.get());
        QCOMPARE(asideContents(fileName).size(), 1);
        QCOMPARE(store.size(store.open(m_dir->path()).get()), 1);
    }

    void pathThatIsNoFile_data() { bothStores(); }
    void pathThatIsNoFile() {
        QFETCH(QString, fileName);
        const Store store = storeFor(fileName);
        const QString path = m_dir->filePath(fileName);

        // A named pipe nobody writes to: reading it would never end.
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        auto opened = store.open(m_dir->path());
        QCOMPARE(store.size(opened.get()), 0);
        store.change(opened.get());
        QCOMPARE(store.size(store.open(m_dir->path()).get()), 1);
        QVERIFY(QFile::remove(path));

        // A folder the user made there, with something in it.
        QVERIFY(writeFile(path + "/keep.txt", "mine"));
        opened = store.open(m_dir->path());
        QCOMPARE(store.size(opened.get()), 0);
        store.change(opened.get());
        QCOMPARE(store.size(opened.get()), 1);
        QCOMPARE(readFile(path + "/keep.txt"), QByteArray("mine"));
    }

    void failedSaveKeepsThePreviousFile_data() { bothStores(); }
    void failedSaveKeepsThePreviousFile() {
        QFETCH(QString, fileName);
        const Store store = storeFor(fileName);
        const QString path = m_dir->filePath(fileName);
        store.change(store.open(m_dir->path()).get());
        const QByteArray saved = readFile(path);
        QVERIFY(!saved.isEmpty());

        const auto opened = store.open(m_dir->path());
        {
            // The disk fills up while the new file is being written.
            const FileSizeLimit limit(64);
            store.change(opened.get());
        }
        QCOMPARE(readFile(path), saved);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{fileName});
        QCOMPARE(store.size(opened.get()), 2);

        store.change(opened.get()); // room again: the next save writes everything
        QCOMPARE(store.size(store.open(m_dir->path()).get()), 3);
    }

    // Another process saves folders.json as fast as it can: whoever reads the file meanwhile,
    // and whenever the process is killed, finds the old or the new state whole.
    void savesAreWholeWhenReadOrKilled() {
        QStringList tabIDs;
        for (int i = 0; i < 300; ++i)
            tabIDs.append(QStringLiteral("tab-%1").arg(i));
        const PersistedData seed{{{QUuid::createUuid(), "0", tabIDs, true}}, {"u"}};
        const QString path = m_dir->filePath("folders.json");
        QVERIFY(writeFile(path, seed.encode()));
        int lastNumber = 0;
        for (int kill = 0; kill < 200; ++kill) {
            QProcess writer;
            writer.start(QStringLiteral(SAVE_LOOP_PATH), {m_dir->path()});
            QVERIFY(writer.waitForReadyRead(10000));
            // A few reads while it saves, the last once it was killed mid-save.
            const int before = lastNumber;
            const int reads = QRandomGenerator::global()->bounded(32);
            for (int read = 0; read <= reads; ++read) {
                if (read == reads) {
                    writer.kill();
                    QVERIFY(writer.waitForFinished(10000));
                }
                const auto data = PersistedData::decode(readFile(path));
                QVERIFY2(data && data->folders.size() == 1, qPrintable(QString::number(kill)));
                QCOMPARE(data->folders.first().tabIDs, tabIDs);
                QCOMPARE(data->ungroupedOrder, seed.ungroupedOrder);
                QVERIFY(data->folders.first().name.toInt() >= lastNumber);
                lastNumber = data->folders.first().name.toInt();
            }
            QVERIFY(lastNumber > before); // every run saved at least once before its kill
        }
    }
};

QTEST_GUILESS_MAIN(StoreFileTest)
#include "tst_storefile.moc"
