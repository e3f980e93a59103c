#include "stores/FolderStore.h"
#include "support/TestFiles.h"
#include "support/TestTabs.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

enum Drop { OnLine, OnFolder, Ungroup, InUngrouped };

// A store's state as "a b|x||u v": the tab ids of each folder, then the ungrouped order. Upper-case
// ids name closed files.
QString stateOf(const FolderStore &store) {
    QStringList parts;
    for (const TabFolder &folder : store.folders())
        parts.append(folder.tabIDs.join(' '));
    return (parts << store.ungroupedOrder().join(' ')).join('|');
}

QStringList openIDs(const QString &spaced) {
    QStringList open = spaced.split(' ', Qt::SkipEmptyParts);
    open.removeIf([](const QString &id) { return id != id.toLower(); });
    return open;
}

} // namespace

class FolderStoreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    const QUuid m_a = QUuid::createUuid();
    const QUuid m_b = QUuid::createUuid();

    QString filePath() const { return m_dir->filePath("folders.json"); }
    // Folders A, B and C, then the ungrouped order, as stateOf() gives them.
    std::unique_ptr<FolderStore> storeWith(const QString &state) {
        const QStringList parts = state.split('|');
        PersistedData data{{}, parts.value(3).split(' ', Qt::SkipEmptyParts)};
        for (const auto &[id, name] : {std::pair{m_a, "A"}, {m_b, "B"}, {QUuid::createUuid(), "C"}})
            data.folders.append(
                {id, name, parts.value(data.folders.size()).split(' ', Qt::SkipEmptyParts)});
        writeFile(filePath(), data.encode());
        return std::make_unique<FolderStore>(m_dir->path());
    }
    // Whether `operation` rewrote the file.
    bool writes(const std::function<void()> &operation) {
        QFile::remove(filePath());
        operation();
        return QFile::exists(filePath());
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }

    // Every drop is one write and lands where the line was drawn.
    void drops_data() {
        QTest::addColumn<int>("drop");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("dropped");
        QTest::addColumn<int>("at"); // the shown row of A, or of the ungrouped tabs
        QTest::addColumn<QString>("after");
        const auto row = [](const char *name, Drop drop, const char *before, const char *dropped,
                            int at, const char *after) {
            QTest::newRow(name) << int(drop) << before << dropped << at << after;
        };
        row("down within the folder", OnLine, "a b c d|x||", "a", 3, "b c a d|x||");
        row("up within the folder", OnLine, "a b c d|x||", "d", 1, "a d b c|x||");
        row("onto its own line", OnLine, "a b c d|x||", "b", 1, "a b c d|x||");
        row("beyond the end", OnLine, "a b c d|x||", "a", 99, "b c d a|x||");
        row("from another folder", OnLine, "a b c d|x||", "x", 1, "a x b c d|||");
        row("closed id before the line", OnLine, "a X b c|x||", "d", 1, "a X d b c|x||");
        row("closed id first, line 0", OnLine, "X a b|x||", "d", 0, "X d a b|x||");
        row("last line, trailing closed id", OnLine, "a b X|x||", "d", 2, "a b d X|x||");
        row("empty folder with closed ids", OnLine, "X Y|x||", "d", 0, "X Y d|x||");
        row("three new tabs", OnLine, "a b c|x||", "x y z", 2, "a b x y z c|||");
        row("two from above the line", OnLine, "a b c d|x||", "a b", 3, "c a b d|x||");
        row("from above and below", OnLine, "a b c|x||", "c a", 1, "c a b|x||");
        row("down past a closed id", OnLine, "a X b c|x||", "a", 2, "X b a c|x||");
        row("an id dropped twice", OnLine, "a b|x||", "b b", 0, "b a|x||");
        row("on a folder: appended in drag order", OnFolder, "a b|c||", "c x y", 0, "a b c x y|||");
        row("on a folder: a member goes last", OnFolder, "a b|c||", "a", 0, "b a|c||");
        row("ungroup takes tabs out", Ungroup, "a b|c||", "c a", 0, "b|||");
        row("ungroup of unfiled tabs", Ungroup, "a b|c||", "free", 0, "a b|c||");
        row("ungrouped: from a folder", InUngrouped, "x|||H a b c", "x", 1, "|||a x b c");
        row("ungrouped: one down", InUngrouped, "x|||H a b c d", "a", 3, "x|||b c a d");
        row("ungrouped: two, one below", InUngrouped, "x|||H a b c d e", "a e", 3, "x|||b c a e d");
        row("ungrouped: past the end", InUngrouped, "x|||H a b", "x", 9, "|||a b x");
    }
    void drops() {
        QFETCH(int, drop);
        QFETCH(QString, before);
        QFETCH(QString, dropped);
        QFETCH(int, at);
        QFETCH(QString, after);
        auto store = storeWith(before);
        QSignalSpy saved(store.get(), &FolderStore::saved);
        QSignalSpy folders(store.get(), &FolderStore::foldersChanged);
        QSignalSpy order(store.get(), &FolderStore::ungroupedOrderChanged);
        const QStringList tabs = ids(qPrintable(dropped));
        const int shownPart = drop == InUngrouped ? 3 : 0;
        const QList<TabItem> shown = openTabs(openIDs(before.section('|', shownPart, shownPart)));
        // The line before shown row `at`, named by its neighbours.
        const qsizetype row = std::clamp<qsizetype>(at, 0, shown.size());
        const TabLine line{row < shown.size() ? shown[row].stableID() : QString(),
                           row > 0 ? shown[row - 1].stableID() : QString()};
        const std::function<void()> operations[] = {
            [&] { store->moveTabs(tabs, m_a, line); }, [&] { store->appendTabs(tabs, m_a); },
            [&] { store->ungroup(tabs); }, [&] { store->placeInUngrouped(tabs, line, shown); }};
        operations[drop]();
        QCOMPARE(stateOf(*store), after);
        QCOMPARE(stateOf(FolderStore(m_dir->path())), after);
        QCOMPARE(saved.count(), 1);
        // Announced once for what changed: the folders, the ungrouped order, or both.
        QCOMPARE(folders.count(), before.section('|', 0, 2) == after.section('|', 0, 2) ? 0 : 1);
        QCOMPARE(order.count(), before.section('|', 3) == after.section('|', 3) ? 0 : 1);
    }

    // Every change is saved at once and announced once; what changes nothing is not announced.
    void operations() {
        struct Case {
            const char *name;
            std::function<void(FolderStore &)> operation;
            bool writes;
            int folderSignals;
            const char *after; // empty: unchanged
        };
        const QUuid unknown = QUuid::createUuid();
        const QList<Case> cases{
            {"create", [](auto &s) { s.createFolder("D"); }, true, 1, "x y|z|||o"},
            {"delete", [&](auto &s) { s.deleteFolder(m_b); }, true, 1, "x y||o"},
            {"rename", [&](auto &s) { s.renameFolder(m_a, "Z"); }, true, 1, ""},
            {"rename unknown", [&](auto &s) { s.renameFolder(unknown, "Z"); }, false, 0, ""},
            {"toggle", [&](auto &s) { s.toggleExpanded(m_a); }, true, 1, ""},
            {"toggle unknown", [&](auto &s) { s.toggleExpanded(unknown); }, false, 0, ""},
            {"add", [&](auto &s) { s.addTab("n", m_a, {}); }, true, 1, "x y n|z||o"},
            {"add from another folder", [&](auto &s) { s.addTab("x", m_b, {}); }, true, 1,
             "y|z x||o"},
            // The tab leaves its folder but lands nowhere: nothing is saved.
            {"add to unknown", [&](auto &s) { s.addTab("x", unknown, {}); }, false, 1, "y|z||o"},
            {"append to unknown", [&](auto &s) { s.appendTabs({"x"}, unknown); }, false, 1,
             "y|z||o"},
            {"move to unknown", [&](auto &s) { s.moveTabs({"x"}, unknown, {}); }, false, 0, ""},
            {"remove", [](auto &s) { s.removeFromFolder("x"); }, true, 1, "y|z||o"},
        };
        for (const Case &c : cases) {
            auto store = storeWith("x y|z||o");
            QSignalSpy folderSignals(store.get(), &FolderStore::foldersChanged);
            QSignalSpy orderSignals(store.get(), &FolderStore::ungroupedOrderChanged);
            QVERIFY2(writes([&] { c.operation(*store); }) == c.writes, c.name);
            QVERIFY2(folderSignals.count() == c.folderSignals && orderSignals.isEmpty(), c.name);
            QCOMPARE(stateOf(*store), *c.after ? c.after : "x y|z||o");
        }
    }

    // A tab filed from its menu lands where its title sorts, not at a random place.
    void addingPlacesByTitle_data() {
        QTest::addColumn<QString>("members");
        QTest::addColumn<QString>("added");
        QTest::addColumn<bool>("titlesKnown");
        QTest::addColumn<QString>("after");
        const auto row = [](const char *name, const char *members, const char *added,
                            bool titlesKnown, const char *after) {
            QTest::newRow(name) << QString(members) << QString(added) << titlesKnown << after;
        };
        row("between, ignoring case", "b d", "c", true, "b c d|||");
        row("no tab list appends", "b d", "a", false, "b d a|||");
        row("closed member: empty title", "gone b", "a", true, "gone a b|||");
        row("digits compare as text", "n10 n2", "n3", true, "n10 n2 n3|||");
    }
    void addingPlacesByTitle() {
        QFETCH(QString, members);
        QFETCH(QString, added);
        QFETCH(bool, titlesKnown);
        QFETCH(QString, after);
        const QList<TabItem> tabs{openTab("b", "beta"),      openTab("d", "Delta"),
                                  openTab("a", "alpha"),     openTab("c", "Charlie"),
                                  openTab("n10", "File 10"), openTab("n2", "File 2"),
                                  openTab("n3", "File 3")};
        auto store = storeWith(members);
        store->addTab(added, m_a, titlesKnown ? tabs : QList<TabItem>());
        QCOMPARE(stateOf(*store), after);
    }

    // By place and by id; announced only when the order changed.
    void movingFolders_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("written");
        QTest::newRow("0 to 2") << 0 << 2 << "b|a|c|" << true;
        QTest::newRow("2 to 0") << 2 << 0 << "c|a|b|" << true;
        QTest::newRow("0 to 99") << 0 << 99 << "b|c|a|" << true;
        QTest::newRow("1 to 1") << 1 << 1 << "a|b|c|" << false;
        QTest::newRow("from past the end") << 3 << 0 << "a|b|c|" << false;
    }
    void movingFolders() {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, after);
        QFETCH(bool, written);
        for (const bool byID : {false, true}) {
            auto store = storeWith("a|b|c|");
            const QUuid id = from < 3 ? store->folders().at(from).id : QUuid::createUuid();
            QSignalSpy changed(store.get(), &FolderStore::foldersChanged);
            QCOMPARE(
                writes([&] { byID ? store->moveFolder(id, to) : store->moveFolder(from, to); }),
                written);
            QCOMPARE(stateOf(*store), after);
            QCOMPARE(changed.count(), after == "a|b|c|" ? 0 : 1);
        }
    }

    // Open: a b x c d, with x in folder A.
    void ungroupedTabs_data() {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("never arranged") << "" << ids("a b c d");
        QTest::newRow("arranged first, rest in input order") << "c a" << ids("c a b d");
        QTest::newRow("closed and grouped ids skipped") << "closed x d" << ids("d a b c");
        QTest::newRow("an id named twice shows once") << "b b a" << ids("b a c d");
    }
    void ungroupedTabs() {
        QFETCH(QString, order);
        QFETCH(QStringList, expected);
        auto store = storeWith("x|||" + order);
        QCOMPARE(stableIDsOf(store->ungroupedTabs(openTabs(ids("a b x c d")))), expected);
    }

    // A folder shows the tabs open now, never those of an index of an earlier list.
    void tabsInFolderFollowTheTabListAsItChanges() {
        auto store = storeWith("c closed a c");
        const TabFolder folder = store->folders().first();
        QList<TabItem> tabs = openTabs(ids("a b c"));
        QCOMPARE(stableIDsOf(store->tabsInFolder(folder, tabs)), ids("c a"));
        // The same list object with other contents must not be answered from a stale index.
        tabs[2] = openTab("d");
        QCOMPARE(stableIDsOf(store->tabsInFolder(folder, tabs)), ids("a"));
        QCOMPARE(stableIDsOf(store->ungroupedTabs(tabs)), ids("b d"));
    }

    // All or nothing: an incomplete folder rejects the file. Loading never writes.
    void loading_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("state");
        const QByteArray folder = R"({"id":"0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B","name":"N",)"
                                  R"("tabIDs":["k1","k2"],"isExpanded":false})";
        const auto changed = [&](const char *from, const char *to) {
            return "[" + QByteArray(folder).replace(from, to) + "]";
        };
        QTest::newRow("object") << R"({"v":2,"folders":[)" + folder + R"(],"ungroupedOrder":["u"]})"
                                << "k1 k2|u";
        QTest::newRow("older bare array") << "[" + folder + "," + folder + "]"
                                          << "k1 k2|k1 k2|";
        QTest::newRow("no ungroupedOrder") << R"({"folders":[)" + folder + "]}"
                                           << "";
        QTest::newRow("no isExpanded") << changed(R"(,"isExpanded":false)", "") << "";
        QTest::newRow("id not a UUID") << changed("0F3A8C52-", "") << "";
    }
    void loading() {
        QFETCH(QByteArray, contents);
        QFETCH(QString, state);
        QVERIFY(writeFile(filePath(), contents));
        FolderStore store(m_dir->path());
        QCOMPARE(stateOf(store), state);
        if (!state.isEmpty())
            QCOMPARE(store.folders().first(),
                     (TabFolder{QUuid("0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B"), "N", ids("k1 k2"),
                                false}));
        QCOMPARE(readFile(filePath()), contents);
    }

    // Saved in the form every version reads: compact, upper-case ids, names as typed; lower-case
    // ids still load.
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
};

QTEST_GUILESS_MAIN(FolderStoreTest)
#include "tst_folderstore.moc"
