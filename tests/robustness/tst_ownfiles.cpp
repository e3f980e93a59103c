// The program's own files after years on disk: damaged, mistyped, not UTF-8, not even files.
// The stores start empty, keep the damaged bytes, and a save that fails leaves the previous file.

#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "support/TestFiles.h"
#include "support/TestTabs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// One store seen through what these tests need: open it, change it, and read it back.
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

QByteArrayList asideContents(const QString &directory, const QString &fileName) {
    QByteArrayList contents;
    for (const QString &name :
         QDir(directory).entryList({fileName + ".unreadable-*"}, QDir::AllEntries))
        contents.append(readFile(QDir(directory).filePath(name)));
    return contents;
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

class OwnFilesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    void addForBothStores(const char *name, const QByteArray &foldersBytes,
                          const QByteArray &recentlyClosedBytes) {
        QTest::addRow("folders, %s", name) << "folders.json" << foldersBytes;
        QTest::addRow("recently closed, %s", name) << "recently_closed.json" << recentlyClosedBytes;
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void damagedFileIsKeptAside_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("contents");
        const QByteArray folder = R"({"id":"0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B","name":"N",)"
                                  R"("tabIDs":["k1"],"isExpanded":true})";
        const QByteArray closed = R"({"stableID":"A","title":"T","url":"u","closedDate":9e8})";
        addForBothStores("truncated", R"({"folders":[)" + folder.left(40), "[" + closed.left(30));
        addForBothStores("wrong types", R"({"folders":{},"ungroupedOrder":[]})",
                         QByteArray("[") +
                             R"({"stableID":1,"title":"T","url":"u","closedDate":1})" + "]");
        addForBothStores("not UTF-8",
                         "[" + QByteArray(folder).replace("\"N\"", "\"\xe9t\xe9\"") + "]",
                         "[" + QByteArray(closed).replace("\"T\"", "\"\xe9t\xe9\"") + "]");
        addForBothStores("UTF-16", utf16("[" + folder + "]"), utf16("[" + closed + "]"));
        addForBothStores("NUL bytes", QByteArray("[\0]", 3), QByteArray("\0\0\0\0", 4));
        addForBothStores("empty", "", "");
        addForBothStores("JSON of another shape", "42", R"({"tabs":[]})");
    }
    void damagedFileIsKeptAside() {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, contents);
        const Store store = storeFor(fileName);
        const QString path = m_dir->filePath(fileName);
        QVERIFY(writeFile(path, contents));

        const auto opened = store.open(m_dir->path());
        QCOMPARE(store.size(opened.get()), 0);
        QCOMPARE(readFile(path), contents);
        store.change(opened.get());

        QCOMPARE(asideContents(m_dir->path(), fileName), QByteArrayList{contents});
        QCOMPARE(store.size(store.open(m_dir->path()).get()), 1);
    }

    void pathThatIsNoFile_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("contents");
        addForBothStores("", {}, {});
    }
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

    void failedSaveKeepsThePreviousFile_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("contents");
        addForBothStores("", {}, {});
    }
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

QTEST_GUILESS_MAIN(OwnFilesTest)
#include "tst_ownfiles.moc"
