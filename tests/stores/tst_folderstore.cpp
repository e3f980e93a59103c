#include "StoreTestSupport.h"
#include "stores/FolderStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

class FolderStoreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    const QUuid m_a = QUuid::createUuid();
    const QUuid m_b = QUuid::createUuid();

    QString filePath() const { return m_dir->filePath(QStringLiteral("folders.json")); }

    // A store that starts from folders A, B and C, the first two holding the given ids.
    std::unique_ptr<FolderStore> storeWith(const QStringList &inA, const QStringList &inB = {},
                                           const QStringList &order = {}) {
        const PersistedData data{
            {{m_a, "A", inA, true}, {m_b, "B", inB, true}, {QUuid::createUuid(), "C", {}, true}},
            order};
        writeContents(filePath(), data.encode());
        return std::make_unique<FolderStore>(m_dir->path());
    }
    static QStringList idsIn(const FolderStore &store, const QUuid &id) {
        const auto folders = store.folders();
        const auto found = std::find_if(folders.begin(), folders.end(),
                                        [&](const TabFolder &folder) { return folder.id == id; });
        return found == folders.end() ? QStringList() : found->tabIDs;
    }
    static QStringList folderNames(const FolderStore &store) {
        QStringList names;
        for (const TabFolder &folder : store.folders())
            names.append(folder.name);
        return names;
    }
    // Whether `operation` rewrote the file.
    bool writes(FolderStore &store, const std::function<void(FolderStore &)> &operation) {
        QFile::remove(filePath());
        operation(store);
        return QFile::exists(filePath());
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    void addingMovesTheTabOutOfEveryOtherFolder() {
        auto store = storeWith({"x", "y"}, {"z"});
        QSignalSpy changed(store.get(), &FolderStore::foldersChanged);
        store->addTab("x", m_b, {});
        QCOMPARE(idsIn(*store, m_a), QStringList{"y"});
        QCOMPARE(idsIn(*store, m_b), QStringList({"z", "x"}));
        QCOMPARE(store->folderFor("x")->id, m_b);
        QCOMPARE(changed.count(), 1);
    }

    void addingPlacesByTitle_data() {
        QTest::addColumn<QStringList>("members");
        QTest::addColumn<QString>("added");
        QTest::addColumn<QStringList>("tabTitles"); // "id=title" of the open tabs
        QTest::addColumn<QStringList>("expected");
        const QStringList titles{"b=beta", "d=Delta", "a=alpha", "c=Charlie"};
        QTest::newRow("first, ignoring case")
            << QStringList{"b", "d"} << "a" << titles << QStringList{"a", "b", "d"};
        QTest::newRow("between, ignoring case")
            << QStringList{"b", "d"} << "c" << titles << QStringList{"b", "c", "d"};
        QTest::newRow("no tab list appends")
            << QStringList{"b", "d"} << "a" << QStringList{} << QStringList{"b", "d", "a"};
        QTest::newRow("closed member has the empty title")
            << QStringList{"gone", "b"} << "a" << titles << QStringList{"gone", "a", "b"};
        QTest::newRow("digits compare as text")
            << QStringList{"n10", "n2"} << "n3"
            << QStringList{"n2=File 2", "n10=File 10", "n3=File 3"}
            << QStringList{"n10", "n2", "n3"};
    }
    void addingPlacesByTitle() {
        QFETCH(QStringList, members);
        QFETCH(QString, added);
        QFETCH(QStringList, tabTitles);
        QFETCH(QStringList, expected);
        QList<TabItem> tabs;
        for (const QString &entry : tabTitles)
            tabs.append(openTab(entry.section('=', 0, 0), entry.section('=', 1)));
        auto store = storeWith(members);
        store->addTab(added, m_a, tabs);
        QCOMPARE(idsIn(*store, m_a), expected);
    }

    void insertingAtAPosition_data() {
        QTest::addColumn<QString>("moved");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("expectedA");
        QTest::addColumn<QStringList>("expectedB");
        QTest::newRow("down within the folder")
            << "a" << 3 << QStringList{"b", "c", "a", "d"} << QStringList{"x"};
        QTest::newRow("up within the folder")
            << "d" << 1 << QStringList{"a", "d", "b", "c"} << QStringList{"x"};
        QTest::newRow("onto its own line")
            << "b" << 1 << QStringList{"a", "b", "c", "d"} << QStringList{"x"};
        QTest::newRow("beyond the end")
            << "a" << 99 << QStringList{"b", "c", "d", "a"} << QStringList{"x"};
        QTest::newRow("from another folder")
            << "x" << 1 << QStringList{"a", "x", "b", "c", "d"} << QStringList{};
    }
    void insertingAtAPosition() {
        QFETCH(QString, moved);
        QFETCH(int, index);
        QFETCH(QStringList, expectedA);
        QFETCH(QStringList, expectedB);
        auto store = storeWith({"a", "b", "c", "d"}, {"x"});
        QVERIFY(writes(*store, [&](FolderStore &s) { s.insertTab(moved, m_a, index); }));
        QCOMPARE(idsIn(*store, m_a), expectedA);
        QCOMPARE(idsIn(*store, m_b), expectedB);
    }

    void movingFolders_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("notified");
        QTest::newRow("0 to 2") << 0 << 2 << QStringList{"B", "A", "C"} << true << true;
        QTest::newRow("0 to 3") << 0 << 3 << QStringList{"B", "C", "A"} << true << true;
        QTest::newRow("2 to 0") << 2 << 0 << QStringList{"C", "A", "B"} << true << true;
        QTest::newRow("0 to 99") << 0 << 99 << QStringList{"B", "C", "A"} << true << true;
        QTest::newRow("1 to 1") << 1 << 1 << QStringList{"A", "B", "C"} << false << false;
        QTest::newRow("0 to 1") << 0 << 1 << QStringList{"A", "B", "C"} << true << false;
        QTest::newRow("from past the end")
            << 3 << 0 << QStringList{"A", "B", "C"} << false << false;
    }
    void movingFolders() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QStringList, expected);
        QFETCH(bool, written);
        QFETCH(bool, notified);
        auto store = storeWith({});
        QSignalSpy changed(store.get(), &FolderStore::foldersChanged);
        QCOMPARE(writes(*store, [&](FolderStore &s) { s.moveFolder(from, to); }), written);
        QCOMPARE(folderNames(*store), expected);
        QCOMPARE(changed.count(), notified ? 1 : 0);
    }

    void deletedFolderTabsReturnToTheirUngroupedPlace() {
        auto store = storeWith({"x", "y"}, {}, {"b", "x", "a"});
        store->deleteFolder(m_a);
        QCOMPARE(folderNames(*store), QStringList({"B", "C"}));
        QCOMPARE(store->ungroupedOrder(), QStringList({"b", "x", "a"}));
        QCOMPARE(stableIDsOf(store->ungroupedTabs(openTabs({"a", "y", "b", "x"}))),
                 QStringList({"b", "x", "a", "y"}));
    }

    void ungroupedTabs_data() {
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QStringList>("expected");
        // Open: a b x c d, with x in folder A.
        QTest::newRow("never arranged") << QStringList{} << QStringList{"a", "b", "c", "d"};
        QTest::newRow("arranged first, rest in input order")
            << QStringList{"c", "a"} << QStringList{"c", "a", "b", "d"};
        QTest::newRow("closed and grouped ids skipped")
            << QStringList{"closed", "x", "d"} << QStringList{"d", "a", "b", "c"};
        QTest::newRow("an id named twice shows once")
            << QStringList{"b", "b", "a"} << QStringList{"b", "a", "c", "d"};
    }
    void ungroupedTabs() {
        QFETCH(QStringList, order);
        QFETCH(QStringList, expected);
        auto store = storeWith({"x"}, {}, order);
        QCOMPARE(stableIDsOf(store->ungroupedTabs(openTabs({"a", "b", "x", "c", "d"}))), expected);
    }

    void tabsInFolderFollowTheTabListAsItChanges() {
        auto store = storeWith({"c", "closed", "a", "c"});
        const TabFolder folder = store->folders().first();
        QList<TabItem> tabs = openTabs({"a", "b", "c"});
        QCOMPARE(stableIDsOf(store->tabsInFolder(folder, tabs)), QStringList({"c", "a"}));
        // The same list object with other contents must not be answered from a stale index.
        tabs[2] = openTab("d");
        QCOMPARE(stableIDsOf(store->tabsInFolder(folder, tabs)), QStringList{"a"});
        QCOMPARE(stableIDsOf(store->ungroupedTabs(tabs)), QStringList({"b", "d"}));
    }

    void placingInUngrouped_data() {
        QTest::addColumn<QStringList>("moved");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("from a folder") << QStringList{"x"} << 1 << QStringList{"a", "b", "c"}
                                       << QStringList{"a", "x", "b", "c"};
        QTest::newRow("one down") << QStringList{"a"} << 3 << QStringList{"a", "b", "c", "d"}
                                  << QStringList{"b", "c", "a", "d"};
        QTest::newRow("two, one of them below the line")
            << QStringList{"a", "e"} << 3 << QStringList{"a", "b", "c", "d", "e"}
            << QStringList{"b", "c", "a", "e", "d"};
        QTest::newRow("past the end")
            << QStringList{"x"} << 9 << QStringList{"a", "b"} << QStringList{"a", "b", "x"};
    }
    void placingInUngrouped() {
        QFETCH(QStringList, moved);
        QFETCH(int, index);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, expected);
        auto store = storeWith({"x"}, {}, {"hidden", "a"});
        QSignalSpy orderChanged(store.get(), &FolderStore::ungroupedOrderChanged);
        store->placeInUngrouped(moved, index, openTabs(shown));
        QCOMPARE(store->ungroupedOrder(), expected);
        for (const QString &id : moved)
            QVERIFY(!store->isInFolder(id));
        QCOMPARE(orderChanged.count(), 1);
        QCOMPARE(FolderStore(m_dir->path()).ungroupedOrder(), expected);
    }

    void loading_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("order");
        const QByteArray folder = R"({"id":"0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B","name":"N",)"
                                  R"("tabIDs":["k1","k2"],"isExpanded":false})";
        const auto changed = [&](const char *from, const char *to) {
            return "[" + QByteArray(folder).replace(from, to) + "]";
        };
        const QStringList none;
        QTest::newRow("object") << R"({"folders":[)" + folder + R"(],"ungroupedOrder":["u"]})"
                                << QStringList{"N"} << QStringList{"u"};
        QTest::newRow("unknown keys ignored")
            << R"({"v":2,"folders":[)" + folder + R"(],"ungroupedOrder":[]})" << QStringList{"N"}
            << none;
        QTest::newRow("older bare array")
            << "[" + folder + "," + folder + "]" << QStringList{"N", "N"} << none;
        QTest::newRow("lower-case id")
            << changed("0F3A8C52", "0f3a8c52") << QStringList{"N"} << none;
        QTest::newRow("no ungroupedOrder") << R"({"folders":[)" + folder + "]}" << none << none;
        QTest::newRow("no isExpanded") << changed(R"(,"isExpanded":false)", "") << none << none;
        QTest::newRow("id not a UUID") << changed("0F3A8C52-", "") << none << none;
        QTest::newRow("number among tabIDs") << changed(R"("k2")", "2") << none << none;
        QTest::newRow("not JSON") << QByteArray("{\"folders\":") << none << none;
    }
    void loading() {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, names);
        QFETCH(QStringList, order);
        writeContents(filePath(), contents);
        FolderStore store(m_dir->path());
        QCOMPARE(folderNames(store), names);
        QCOMPARE(store.ungroupedOrder(), order);
        if (!names.isEmpty())
            QCOMPARE(store.folders().first(),
                     (TabFolder{QUuid("0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B"), "N",
                                QStringList{"k1", "k2"}, false}));
        QCOMPARE(fileContents(filePath()), contents); // loading never writes
    }

    void writesCompactObjectFormWithUpperCaseIds() {
        writeContents(filePath(), R"([{"id":"0f3a8c52-1d2b-4e6f-9a7b-3c4d5e6f7a8b","name":"N",)"
                                  R"("tabIDs":[],"isExpanded":true}])");
        FolderStore store(m_dir->path());
        store.renameFolder(store.folders().first().id, "  Spaced ");
        const QByteArray written = fileContents(filePath());
        QVERIFY(!written.contains('\n') && !written.contains(": "));
        const QJsonObject root = QJsonDocument::fromJson(written).object();
        QCOMPARE(root.keys(), QStringList({"folders", "ungroupedOrder"}));
        const QJsonObject folder = root["folders"].toArray().first().toObject();
        QCOMPARE(folder["id"].toString(), "0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B");
        QCOMPARE(folder["name"].toString(), "  Spaced ");
        QCOMPARE(folder.keys(), QStringList({"id", "isExpanded", "name", "tabIDs"}));
    }

    void whichOperationsWrite() {
        struct Case {
            const char *name;
            std::function<void(FolderStore &)> operation;
            bool writes;
            int folderSignals;
        };
        const QUuid unknown = QUuid::createUuid();
        const QList<Case> cases{
            {"create", [](FolderStore &s) { s.createFolder("D"); }, true, 1},
            {"delete", [&](FolderStore &s) { s.deleteFolder(m_b); }, true, 1},
            {"delete unknown", [&](FolderStore &s) { s.deleteFolder(unknown); }, true, 0},
            {"rename", [&](FolderStore &s) { s.renameFolder(m_a, "Z"); }, true, 1},
            {"rename to same name", [&](FolderStore &s) { s.renameFolder(m_a, "A"); }, true, 0},
            {"rename unknown", [&](FolderStore &s) { s.renameFolder(unknown, "Z"); }, false, 0},
            {"toggle", [&](FolderStore &s) { s.toggleExpanded(m_a); }, true, 1},
            {"toggle unknown", [&](FolderStore &s) { s.toggleExpanded(unknown); }, false, 0},
            {"add", [&](FolderStore &s) { s.addTab("n", m_a, {}); }, true, 1},
            // The tab leaves its folder but lands nowhere: nothing is saved.
            {"add to unknown", [&](FolderStore &s) { s.addTab("x", unknown, {}); }, false, 1},
            {"insert unknown", [&](FolderStore &s) { s.insertTab("x", unknown, 0); }, false, 0},
            {"remove", [](FolderStore &s) { s.removeFromFolder("x"); }, true, 1},
            {"remove ungrouped", [](FolderStore &s) { s.removeFromFolder("n"); }, true, 0},
        };
        for (const Case &c : cases) {
            auto store = storeWith({"x"});
            QSignalSpy folderSignals(store.get(), &FolderStore::foldersChanged);
            QSignalSpy orderSignals(store.get(), &FolderStore::ungroupedOrderChanged);
            QVERIFY2(writes(*store, c.operation) == c.writes, c.name);
            QVERIFY2(folderSignals.count() == c.folderSignals, c.name);
            QVERIFY2(orderSignals.isEmpty(), c.name);
        }
    }

    void createdFolderIsExpandedEmptyAndLastInXdgDataHome() {
        const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        if (dataHome.isEmpty())
            QSKIP("runs only under the test runner's private XDG_DATA_HOME");
        FolderStore store;
        const QUuid id = store.createFolder("New");
        QCOMPARE(store.folders().last(), (TabFolder{id, "New", {}, true}));
        QVERIFY(QFile::exists(dataHome + "/Nookery/folders.json"));
    }
};

QTEST_GUILESS_MAIN(FolderStoreTest)
#include "tst_folderstore.moc"
