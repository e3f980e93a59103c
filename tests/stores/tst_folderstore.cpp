#include "stores/FolderStore.h"
#include "support/TestFiles.h"
#include "support/TestTabs.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

enum Drop { OnLine, OnFolder, InUngrouped };

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
        row("onto its own line", OnLine, "a b c d|x||", "b", 1, "a b c d|x||");
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
        row("ungrouped: from a folder", InUngrouped, "x|||H a b c", "x", 1, "|||a x b c");
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
        const QStringList tabs = ids(qPrintable(dropped));
        const int shownPart = drop == InUngrouped ? 3 : 0;
        const QList<TabItem> shown = openTabs(openIDs(before.section('|', shownPart, shownPart)));
        // The line before shown row `at`, named by its neighbours.
        const qsizetype row = std::clamp<qsizetype>(at, 0, shown.size());
        const TabLine line{row < shown.size() ? shown[row].stableID() : QString(),
                           row > 0 ? shown[row - 1].stableID() : QString()};
        const std::function<void()> operations[] = {
            [&] { store->moveTabs(tabs, m_a, line); }, [&] { store->appendTabs(tabs, m_a); },
            [&] { store->placeInUngrouped(tabs, line, shown); }};
        operations[drop]();
        QCOMPARE(stateOf(*store), after);
        QCOMPARE(saved.count(), 1);
    }

    // Any sequence of changes keeps each tab in at most one folder, puts dropped tabs where they
    // were dropped, writes at most once, announces once only what changed, and leaves on disk
    // what is shown: a change missing at the next start is a user's filing lost. A failing seed
    // replays its sequence.
    void anySequenceIsSavedAndKeepsEachTabInOneFolder() {
        // In memory where there is room: a disk flushes every step's write.
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            m_dir = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/nookery-XXXXXX"));
        QRandomGenerator random(7);
        auto store = storeWith("a b|c||x y");
        const QStringList tabIDs = ids("a b c d x y Closed");
        const QList<TabItem> tabs = openTabs(openIDs(tabIDs.join(' ')));
        QSignalSpy folderSignals(store.get(), &FolderStore::foldersChanged);
        QSignalSpy orderSignals(store.get(), &FolderStore::ungroupedOrderChanged);
        QSignalSpy saved(store.get(), &FolderStore::saved);
        const auto tab = [&] { return tabIDs.at(random.bounded(int(tabIDs.size()))); };
        const auto tabOrNone = [&] { return random.bounded(4) ? tab() : QString(); };
        bool stale = false; // the file lags behind what is shown
        for (int step = 0; step < 1000; ++step) {
            const QList<TabFolder> folders = store->folders();
            const QStringList order = store->ungroupedOrder();
            const int at = random.bounded(int(folders.size()) + 1); // past the end: a folder gone
            const bool known = at < folders.size();
            const QUuid folder = known ? folders.at(at).id : QUuid::createUuid();
            QStringList dropped{tab()};
            for (int more = random.bounded(3); more > 0; --more)
                dropped.append(tab());
            const TabLine line{tabOrNone(), tabOrNone()};
            const int from = random.bounded(-1, 4), to = random.bounded(4);
            folderSignals.clear(), orderSignals.clear(), saved.clear();
            const int operation = random.bounded(10);
            const std::function<void()> operations[] = {
                [&] { store->createFolder("N"); },
                [&] { store->deleteFolder(folder); },
                [&] { store->renameFolder(folder, random.bounded(2) ? "N" : "M"); },
                [&] { store->toggleExpanded(folder); },
                [&] { store->addTab(dropped[0], folder, tabs); },
                [&] { store->appendTabs(dropped, folder); },
                [&] { store->moveTabs(dropped, folder, line); },
                [&] { store->ungroup(dropped); },
                [&] { store->placeInUngrouped(dropped, line, tabs); },
                [&] { store->moveFolder(from, to); }};
            operations[operation]();
            const QByteArray what = QByteArray::number(step) + ": " + QByteArray::number(operation);

            QStringList filed;
            for (const TabFolder &f : store->folders())
                filed += f.tabIDs;
            QVERIFY2(filed.removeDuplicates() == 0, what);
            for (const QString &id : operation == 4 ? dropped.mid(0, 1) : dropped) {
                const auto in = store->folderFor(id);
                if (operation == 7 || operation == 8) // ungrouped
                    QVERIFY2(!in, what);
                else if (operation >= 4 && operation <= 6 && known) // filed
                    QVERIFY2(in && in->id == folder, what);
            }
            QVERIFY2(folderSignals.count() == (store->folders() != folders ? 1 : 0), what);
            QVERIFY2(orderSignals.count() == (store->ungroupedOrder() != order ? 1 : 0), what);
            QVERIFY2(saved.count() <= 1, what);
            // Only a tab filed in a folder that is gone leaves its folder without a write.
            stale = saved.isEmpty() && (stale || (!known && (operation == 4 || operation == 5)));
            const FolderStore reloaded(m_dir->path());
            QVERIFY2(stale || (reloaded.folders() == store->folders() &&
                               reloaded.ungroupedOrder() == store->ungroupedOrder()),
                     what);
        }
    }

    // A tab filed from its menu lands where its title sorts, not at a random place.
    void addingPlacesByTitle() {
        const QList<TabItem> tabs{openTab("b", "beta"),    openTab("d", "Delta"),
                                  openTab("c", "Charlie"), openTab("n10", "File 10"),
                                  openTab("n2", "File 2"), openTab("n3", "File 3")};
        // Members, the tab added, the folder after.
        for (const auto &[members, added, after] :
             {std::tuple{"b d", "c", "b c d|||"},  // between, ignoring case
              {"gone b", "a", "gone a b|||"},      // a closed member has no title
              {"n10 n2", "n3", "n10 n2 n3|||"}}) { // digits compare as text
            auto store = storeWith(members);
            store->addTab(added, m_a, tabs);
            QCOMPARE(stateOf(*store), after);
        }
    }

    // A folder dropped on a line lands there, by place and by id: `to` counts places before the
    // move.
    void movingFolders() {
        for (const auto &[from, to, after] :
             {std::tuple{0, 2, "b|a|c|"}, {2, 0, "c|a|b|"}, {0, 99, "b|c|a|"}}) {
            for (const bool byID : {false, true}) {
                auto store = storeWith("a|b|c|");
                const QUuid id = store->folders().at(from).id;
                byID ? store->moveFolder(id, to) : store->moveFolder(from, to);
                QCOMPARE(stateOf(*store), after);
            }
        }
    }

    // Every ungrouped tab shows once, the arranged ones first: a tab named twice in the order,
    // or closed, or filed, never takes a row.
    void ungroupedTabs() {
        auto store = storeWith("x|||closed b x d b");
        QCOMPARE(stableIDsOf(store->ungroupedTabs(openTabs(ids("a b x c d")))), ids("b d a c"));
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

    // All or nothing: one incomplete folder rejects the file, never half of it; the older bare
    // array still loads. Loading never writes.
    void loading() {
        const QByteArray folder = R"({"id":"0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B","name":"N",)"
                                  R"("tabIDs":["k1","k2"],"isExpanded":false})";
        const QByteArray incomplete = QByteArray(folder).replace(R"(,"isExpanded":false)", "");
        for (const auto &[contents, state] :
             {std::pair{R"({"v":2,"folders":[)" + folder + R"(],"ungroupedOrder":["u"]})",
                        "k1 k2|u"},
              {"[" + folder + "," + folder + "]", "k1 k2|k1 k2|"},
              {"[" + folder + "," + incomplete + "]", ""}}) {
            QVERIFY(writeFile(filePath(), contents));
            FolderStore store(m_dir->path());
            QCOMPARE(stateOf(store), QString(state));
            if (*state)
                QCOMPARE(store.folders().first(),
                         (TabFolder{QUuid("0F3A8C52-1D2B-4E6F-9A7B-3C4D5E6F7A8B"), "N",
                                    ids("k1 k2"), false}));
            QCOMPARE(readFile(filePath()), contents);
        }
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
