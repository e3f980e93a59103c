// Both stores' files after years on disk: damaged, mistyped, not even files. The stores start
// empty and keep the damaged bytes aside; a save that fails leaves the previous file whole.

#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "support/TestFiles.h"
#include "support/TestTabs.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One store seen through what these tests need: open it, change it, count what it holds, and a
// file of JSON it cannot use.
struct Store {
    std::function<std::shared_ptr<QObject>(const QString &directory)> open;
    std::function<void(QObject *)> change;
    std::function<int(QObject *)> size;
    QByteArray wrongTypes;
};

Store storeFor(const QString &fileName) {
    if (fileName == "folders.json")
        return {[](const QString &dir) { return std::make_shared<FolderStore>(dir); },
                [](QObject *s) { static_cast<FolderStore *>(s)->createFolder(QString(300, u'n')); },
                [](QObject *s) { return int(static_cast<FolderStore *>(s)->folders().size()); },
                R"({"folders":{},"ungroupedOrder":[]})"};
    return {
        [](const QString &dir) { return std::make_shared<RecentlyClosedStore>(dir); },
        [](QObject *s) {
            const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
            static_cast<RecentlyClosedStore *>(s)->recordClosed({openTab(id, QString(300, u't'))},
                                                                {});
        },
        [](QObject *s) { return int(static_cast<RecentlyClosedStore *>(s)->closedTabs().size()); },
        R"([{"stableID":1,"title":"T","url":"u","closedDate":1}])"};
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

    // Kept aside at the first save, and a later damaged file never replaces the copy kept: the
    // file is first no JSON at all, then JSON of the wrong types.
    void damagedFileIsKeptAside_data() { bothStores(); }
    void damagedFileIsKeptAside() {
        QFETCH(QString, fileName);
        const Store store = storeFor(fileName);
        const QString path = m_dir->filePath(fileName);
        QByteArrayList kept;
        for (const QByteArray &damaged : {store.wrongTypes.chopped(3), store.wrongTypes}) {
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

    // A file we may not read is kept aside, never overwritten.
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

    // A pipe or a folder where the file belongs neither hangs the program nor is deleted.
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

    // A disk that fills up mid-save leaves the previous file whole and nothing beside it.
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
};

QTEST_GUILESS_MAIN(StoreFileTest)
#include "tst_storefile.moc"
