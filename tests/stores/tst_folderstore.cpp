#include "stores/FolderStore.h"
#include "support/TestFiles.h"
#include "support/TestTabs.h"

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
        writeFile(filePath(), data.encode());
        return std::make_unique<FolderStore>(m_dir->path());
    }
    static QStringList idsIn(const FolderStore &store, const QUuid &id) {
        for (const TabFolder &folder : store.folders())
            if (folder.id == id)
                return folder.tabIDs;
        return {};
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
        auto store = storeWith(ids("x y"), ids("z"));
        QSignalSpy changed(store.get(), &FolderStore::foldersChanged);
        store->addTab("x", m_b, {});
        QCOMPARE(idsIn(*store, m_a), ids("y"));
        QCOMPARE(idsIn(*store, m_b), ids("z x"));
        QCOMPARE(store->folderFor("x")->id, m_b);
        QCOMPARE(changed.count(), 1);
    }

    void addingPlacesByTitle_data() {
        QTest::addColumn<QStringList>("members");
        QTest::addColumn<QString>("added");
        QTest::addColumn<bool>("titlesKnown");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("between, ignoring case") << ids("b d") << "c" << true << ids("b c d");
        QTest::newRow("no tab list appends") << ids("b d") << "a" << false << ids("b d a");
        QTest::newRow("closed member: empty title")
            << ids("gone b") << "a" << true << ids("gone a b");
        QTest::newRow("digits compare as text")
            << ids("n10 n2") << "n3" << true << ids("n10 n2 n3");
    }
    void addingPlacesByTitle() {
        QFETCH(QStringList, members);
        QFETCH(QString, added);
        QFETCH(bool, titlesKnown);
        QFETCH(QStringList, expected);
        const QList<TabItem> tabs{openTab("b", "beta"),      openTab("d", "Delta"),
                                  openTab("a", "alpha"),     openTab("c", "Charlie"),
                                  openTab("n10", "File 10"), openTab("n2", "File 2"),
                                  openTab("n3", "File 3")};
        auto store = storeWith(members);
        store->addTab(added, m_a, titlesKnown ? tabs : QList<TabItem>());
        QCOMPARE(idsIn(*store, m_a), expected);
    }

    // Tabs dropped on the line before shown row `line` of folder A; A's ids may name closed files
    // (upper case). B holds x. Moved tabs keep their dropped order wherever they came from.
    void movingTabsToALine_data() {
        QTest::addColumn<QStringList>("tabIDs");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QStringList>("expectedA");
        QTest::newRow("down within the folder")
            << ids("a b c d") << ids("a b c d") << 3 << ids("a") << ids("b c a d");
        QTest::newRow("up within the folder")
            << ids("a b c d") << ids("a b c d") << 1 << ids("d") << ids("a d b c");
        QTest::newRow("onto its own line")
            << ids("a b c d") << ids("a b c d") << 1 << ids("b") << ids("a b c d");
        QTest::newRow("beyond the end")
            << ids("a b c d") << ids("a b c d") << 99 << ids("a") << ids("b c d a");
        QTest::newRow("from another folder")
            << ids("a b c d") << ids("a b c d") << 1 << ids("x") << ids("a x b c d");
        QTest::newRow("closed id before the line")
            << ids("a X b c") << ids("a b c") << 1 << ids("d") << ids("a X d b c");
        QTest::newRow("closed id first, line 0")
            << ids("X a b") << ids("a b") << 0 << ids("d") << ids("X d a b");
        QTest::newRow("last line, trailing closed id")
            << ids("a b X") << ids("a b") << 2 << ids("d") << ids("a b d X");
        QTest::newRow("empty folder with closed ids")
            << ids("X Y") << ids("") << 0 << ids("d") << ids("X Y d");
        QTest::newRow("three new tabs")
            << ids("a b c") << ids("a b c") << 2 << ids("x y z") << ids("a b x y z c");
        QTest::newRow("two from above the line")
            << ids("a b c d") << ids("a b c d") << 3 << ids("a b") << ids("c a b d");
        QTest::newRow("from above and below")
            << ids("a b c") << ids("a b c") << 1 << ids("c a") << ids("c a b");
        QTest::newRow("down past a closed id")
            << ids("a X b c") << ids("a b c") << 2 << ids("a") << ids("X b a c");
        QTest::newRow("an id dropped twice")
            << ids("a b") << ids("a b") << 0 << ids("b b") << ids("b a");
    }
    void movingTabsToALine() {
        QFETCH(QStringList, tabIDs);
        QFETCH(QStringList, shown);
        QFETCH(int, line);
        QFETCH(QStringList, dropped);
        QFETCH(QStringList, expectedA);
        auto store = storeWith(tabIDs, ids("x"));
        store->moveTabs(dropped, m_a, line, openTabs(shown));
        QCOMPARE(idsIn(*store, m_a), expectedA);
        QCOMPARE(idsIn(*store, m_b), dropped.contains("x") ? QStringList() : ids("x"));
    }

    // Folders A {a b} and B {c}; tabs dropped on A as a whole, or on the ungrouped section.
    void droppingOnAFolderOrUngrouped_data() {
        QTest::addColumn<bool>("onA");
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QStringList>("expectedA");
        QTest::addColumn<QStringList>("expectedB");
        QTest::newRow("appended in drag order")
            << true << ids("c x y") << ids("a b c x y") << ids("");
        QTest::newRow("a member goes to the end") << true << ids("a") << ids("b a") << ids("c");
        QTest::newRow("ungroup takes tabs out") << false << ids("c a") << ids("b") << ids("");
        QTest::newRow("ungroup of unfiled tabs") << false << ids("free") << ids("a b") << ids("c");
    }
    void droppingOnAFolderOrUngrouped() {
        QFETCH(bool, onA);
        QFETCH(QStringList, dropped);
        QFETCH(QStringList, expectedA);
        QFETCH(QStringList, expectedB);
        auto store = storeWith(ids("a b"), ids("c"));
        QVERIFY(writes(*store, [&](FolderStore &s) {
            onA ? s.appendTabs(dropped, m_a) : s.ungroup(dropped);
        }));
        QCOMPARE(idsIn(*store, m_a), expectedA);
        QCOMPARE(idsIn(*store, m_b), expectedB);
    }

    // However many tabs a drop carries, folders.json is written once and observers hear once.
    void aDropOfTenTabsWritesOnce() {
        QStringList ten;
        for (int i = 0; i < 10; ++i)
            ten.append(QStringLiteral("t%1").arg(i));
        const QList<std::function<void(FolderStore &)>> drops{
            [&](FolderStore &s) { s.appendTabs(ten, m_a); },
            [&](FolderStore &s) { s.moveTabs(ten, m_b, 0, openTabs(ids("y"))); },
            [&](FolderStore &s) { s.ungroup(ten); },
            [&](FolderStore &s) { s.placeInUngrouped(ten, 1, openTabs(ids("u v"))); },
        };
        for (const auto &drop : drops) {
            auto store = storeWith(ten.mid(0, 5), ten.mid(5) + ids("y"));
            QSignalSpy saved(store.get(), &FolderStore::saved);
            QSignalSpy changed(store.get(), &FolderStore::foldersChanged);
            drop(*store);
            QCOMPARE(saved.count(), 1);
            QCOMPARE(changed.count(), 1);
        }
    }

    void movingFolders_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("notified");
        QTest::newRow("0 to 2") << 0 << 2 << ids("B A C") << true << true;
        QTest::newRow("0 to 3") << 0 << 3 << ids("B C A") << true << true;
        QTest::newRow("2 to 0") << 2 << 0 << ids("C A B") << true << true;
        QTest::newRow("0 to 99") << 0 << 99 << ids("B C A") << true << true;
        QTest::newRow("1 to 1") << 1 << 1 << ids("A B C") << false << false;
        QTest::newRow("0 to 1") << 0 << 1 << ids("A B C") << true << false;
        QTest::newRow("from past the end") << 3 << 0 << ids("A B C") << false << false;
    }
    void movingFolders() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QStringList, expected);
        QFETCH(bool, written);
        QFETCH(bool, notified);
        for (const bool byID : {false, true}) {
            auto store = storeWith({});
            const QUuid id = from < 3 ? store->folders().at(from).id : QUuid::createUuid();
            QSignalSpy changed(store.get(), &FolderStore::foldersChanged);
            QCOMPARE(writes(*store,
                            [&](FolderStore &s) {
                                byID ? s.moveFolder(id, to) : s.moveFolder(from, to);
                            }),
                     written);
            QCOMPARE(folderNames(*store), expected);
            QCOMPARE(changed.count(), notified ? 1 : 0);
        }
    }

    void deletedFolderTabsReturnToTheirUngroupedPlace() {
        auto store = storeWith(ids("x y"), {}, ids("b x a"));
        store->deleteFolder(m_a);
        QCOMPARE(folderNames(*store), ids("B C"));
        QCOMPARE(store->ungroupedOrder(), ids("b x a"));
        QCOMPARE(stableIDsOf(store->ungroupedTabs(openTabs(ids("a y b x")))), ids("b x a y"));
    }

    // Open: a b x c d, with x in folder A.
    void ungroupedTabs_data() {
        QTest::addColumn<QStringList>("order");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("never arranged") << ids("") << ids("a b c d");
        QTest::newRow("arranged first, rest in input order") << ids("c a") << ids("c a b d");
        QTest::newRow("closed and grouped ids skipped") << ids("closed x d") << ids("d a b c");
        QTest::newRow("an id named twice shows once") << ids("b b a") << ids("b a c d");
    }
    void ungroupedTabs() {
        QFETCH(QStringList, order);
        QFETCH(QStringList, expected);
        auto store = storeWith(ids("x"), {}, order);
        QCOMPARE(stableIDsOf(store->ungroupedTabs(openTabs(ids("a b x c d")))), expected);
    }

    void tabsInFolderFollowTheTabListAsItChanges() {
        auto store = storeWith(ids("c closed a c"));
        const TabFolder folder = store->folders().first();
        QList<TabItem> tabs = openTabs(ids("a b c"));
        QCOMPARE(stableIDsOf(store->tabsInFolder(folder, tabs)), ids("c a"));
        // The same list object with other contents must not be answered from a stale index.
        tabs[2] = openTab("d");
        QCOMPARE(stableIDsOf(store->tabsInFolder(folder, tabs)), ids("a"));
        QCOMPARE(stableIDsOf(store->ungroupedTabs(tabs)), ids("b d"));
    }

    // Starts from x in a folder and the order "hidden a".
    void placingInUngrouped_data() {
        QTest::addColumn<QStringList>("moved");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("from a folder") << ids("x") << 1 << ids("a b c") << ids("a x b c");
        QTest::newRow("one down") << ids("a") << 3 << ids("a b c d") << ids("b c a d");
        QTest::newRow("two, one below the line")
            << ids("a e") << 3 << ids("a b c d e") << ids("b c a e d");
        QTest::newRow("past the end") << ids("x") << 9 << ids("a b") << ids("a b x");
    }
    void placingInUngrouped() {
        QFETCH(QStringList, moved);
        QFETCH(int, index);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, expected);
        auto store = storeWith(ids("x"), {}, ids("hidden a"));
        QSignalSpy orderChanged(store.get(), &FolderStore::ungroupedOrderChanged);
        store->placeInUngrouped(moved, index, openTabs(shown));
        QCOMPARE(store->ungroupedOrder(), expected);
        QVERIFY(!store->isInFolder("x") || !moved.contains("x"));
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
        QTest::newRow("object") << R"({"v":2,"folders":[)" + folder + R"(],"ungroupedOrder":["u"]})"
                                << ids("N") << ids("u");
        QTest::newRow("older bare array")
            << "[" + folder + "," + folder + "]" << ids("N N") << ids("");
        QTest::newRow("lower-case id") << changed("0F3A8C52", "0f3a8c52") << ids("N") << ids("");
        // All or nothing: an incomplete folder rejects the file.
        QTest::newRow("no ungroupedOrder")
            << R"({"folders":[)" + folder + "]}" << ids("") << ids("");
        QTest::newRow("no isExpanded")
            << changed(R"(,"isExpanded":false)", "") << ids("") << ids("");
        QTest::newRow("id not a UUID") << changed("0F3A8C52-", "") << ids("") << ids("");
        QTest::newRow("number among tabIDs") << changed(R"("k2")", "2") << ids("") << ids("");
    }
    void loading() {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, names);
        QFETCH(QStringList, order);
        QVERIFY(writeFile(filePath(), contents));
        FolderStore store(m_dir->path());
        QCOMPARE(folderNames(store), names);
        QCOMPARE(store.ungroupedOrder(), order);
        if (!names.isEmpty())
            QCOMPARE(store.folders().first(),
                     (TabFolder{QUuid("0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B"), "N", ids("k1 k2"),
                                false}));
        QCOMPARE(readFile(filePath()), contents); // loading never writes
    }

    void writesCompactObjectFormWithUpperCaseIds() {
        QVERIFY(writeFile(filePath(), R"([{"id":"0f3a8c52-1d2b-4e6f-9a7b-3c4d5e6f7a8b","name":"N",)"
                                      R"("tabIDs":[],"isExpanded":true}])"));
        FolderStore store(m_dir->path());
        store.renameFolder(store.folders().first().id, "  Spaced ");
        QCOMPARE(
            readFile(filePath()),
            QByteArray(
                R"({"folders":[{"id":"0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B","isExpanded":true,)"
                R"("name":"  Spaced ","tabIDs":[]}],"ungroupedOrder":[]})"));
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
            {"add where it is", [&](FolderStore &s) { s.addTab("x", m_a, {}); }, true, 0},
            // The tab leaves its folder but lands nowhere: nothing is saved.
            {"add to unknown", [&](FolderStore &s) { s.addTab("x", unknown, {}); }, false, 1},
            {"append to unknown", [&](FolderStore &s) { s.appendTabs({"x"}, unknown); }, false, 1},
            {"move to unknown", [&](FolderStore &s) { s.moveTabs({"x"}, unknown, 0, {}); }, false,
             0},
            {"remove", [](FolderStore &s) { s.removeFromFolder("x"); }, true, 1},
            {"remove ungrouped", [](FolderStore &s) { s.removeFromFolder("n"); }, true, 0},
        };
        for (const Case &c : cases) {
            auto store = storeWith(ids("x"));
            QSignalSpy folderSignals(store.get(), &FolderStore::foldersChanged);
            QSignalSpy orderSignals(store.get(), &FolderStore::ungroupedOrderChanged);
            QVERIFY2(writes(*store, c.operation) == c.writes, c.name);
            QVERIFY2(folderSignals.count() == c.folderSignals && orderSignals.isEmpty(), c.name);
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
