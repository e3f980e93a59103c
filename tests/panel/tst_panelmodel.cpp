#include "panel/model/FolderNaming.h"
#include "panel/model/KeyboardHighlight.h"
#include "panel/model/ListHeight.h"
#include "panel/model/PanelDerivation.h"
#include "panel/model/PanelTexts.h"
#include "panel/model/TabSearch.h"
#include "stores/FolderStore.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

TabItem tab(const QString &key, const QString &title) {
    return TabItem(QStringLiteral("figma-") + key, title,
                   QStringLiteral("https://www.figma.com/design/%1/file").arg(key), false);
}

// Tabs "a" to "e", titled "A" to "E".
QList<TabItem> lettered() {
    QList<TabItem> tabs;
    for (const char *key : {"a", "b", "c", "d", "e"})
        tabs.append(tab(key, QString(key).toUpper()));
    return tabs;
}

QStringList titles(const QList<TabItem> &tabs) {
    QStringList result;
    for (const TabItem &item : tabs)
        result.append(item.title);
    return result;
}

QStringList keys(const QList<TabItem> &tabs) {
    QStringList result;
    for (const TabItem &item : tabs)
        result.append(item.stableID());
    return result;
}

QList<TabItem> titled(const QStringList &titles) {
    QList<TabItem> tabs;
    for (const QString &title : titles)
        tabs.append(tab(QString::number(tabs.size()), title));
    return tabs;
}

ClosedTab closedTab(const QString &key) {
    ClosedTab closed;
    closed.stableID = key;
    closed.title = key;
    closed.closedDate = QDateTime::currentDateTimeUtc();
    return closed;
}

} // namespace

class PanelModelTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir.emplace();
        m_store.emplace(m_dir->path());
    }

    void contentState_data() {
        QTest::addColumn<bool>("loading");
        QTest::addColumn<int>("tabs");
        QTest::addColumn<int>("recent");
        QTest::addColumn<QString>("search");
        QTest::addColumn<ContentState>("expected");
        QTest::newRow("loading beats recent") << true << 0 << 2 << "" << ContentState::Loading;
        QTest::newRow("loading with tabs shows them")
            << true << 1 << 0 << "" << ContentState::NormalList;
        QTest::newRow("nothing at all") << false << 0 << 0 << "" << ContentState::Empty;
        QTest::newRow("query keeps empty") << false << 0 << 0 << "x" << ContentState::Empty;
        QTest::newRow("only recent") << false << 0 << 1 << "" << ContentState::NormalList;
        QTest::newRow("tabs") << false << 3 << 0 << "" << ContentState::NormalList;
        QTest::newRow("spaces are a query")
            << false << 3 << 0 << "  " << ContentState::SearchResults;
    }
    void contentState() {
        QFETCH(bool, loading);
        QFETCH(int, tabs);
        QFETCH(int, recent);
        QFETCH(QString, search);
        QFETCH(ContentState, expected);
        const QList<TabItem> open = titled(QStringList(tabs, QStringLiteral("T")));
        QList<ClosedTab> closed;
        for (int i = 0; i < recent; ++i)
            closed.append(closedTab(QStringLiteral("c%1").arg(i)));
        m_store->createFolder(QStringLiteral("Clients")); // folders alone are no content
        const PanelSnapshot snapshot = derive(open, search, loading, closed);
        QCOMPARE(snapshot.contentState, expected);
        QCOMPARE(snapshot.tabCount, tabs);
    }

    void countTexts_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("tabs");
        QTest::addColumn<QString>("results");
        QTest::newRow("zero") << 0 << "0 tabs"
                              << "0 results";
        QTest::newRow("one") << 1 << "1 tab"
                             << "1 result";
        QTest::newRow("many") << 12 << "12 tabs"
                              << "12 results";
    }
    void countTexts() {
        QFETCH(int, count);
        QFETCH(QString, tabs);
        QFETCH(QString, results);
        QCOMPARE(PanelTexts::tabCount(count), tabs);
        QCOMPARE(PanelTexts::resultCount(count), results);
    }

    void sessionFileNotFound_data() {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("text");
        const QString home = QDir::homePath();
        QTest::newRow("nowhere looked") << QStringList{} << "";
        QTest::newRow("outside the home folder")
            << QStringList{"/opt/figma/settings.json"}
            << "Looked for Figma's session file at /opt/figma/settings.json.";
        QTest::newRow("below the home folder, and beside it")
            << QStringList{home + "/.config/Figma/settings.json", home + "2/settings.json"}
            << "Looked for Figma's session file at ~/.config/Figma/settings.json or " + home +
                   "2/settings.json.";
        QTest::newRow("three") << QStringList{"/a", "/b", "/c"}
                               << "Looked for Figma's session file at /a, /b or /c.";
    }
    void sessionFileNotFound() {
        QFETCH(QStringList, paths);
        QFETCH(QString, text);
        QCOMPARE(PanelTexts::sessionFileNotFound(paths), text);
    }

    void createFolderTextTrimsTheQuery() {
        QCOMPARE(PanelTexts::createFolder(QStringLiteral("\t x \n")),
                 QStringLiteral("Create folder \"x \n\""));
    }

    void matching_data() {
        QTest::addColumn<QStringList>("tabTitles");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("case-insensitive, sorted")
            << QStringList{"UI design", "Roadmap", "Design system"} << "dES"
            << QStringList{"Design system", "UI design"};
        QTest::newRow("trailing space") << QStringList{"UI design", "Design system"} << "design "
                                        << QStringList{"Design system"};
        QTest::newRow("leading space not trimmed")
            << QStringList{"Design", "UI design"} << " design" << QStringList{"UI design"};
        QTest::newRow("only spaces") << QStringList{"Roadmap"} << "  " << QStringList{};
        QTest::newRow("title, not display title")
            << QStringList{QString::fromUtf8("Board \u2013 Figma"), "Plain"} << "figma"
            << QStringList{QString::fromUtf8("Board \u2013 Figma")};
        QTest::newRow("no diacritic folding")
            << QStringList{"Café", "Cafe"} << "cafe" << QStringList{"Cafe"};
        QTest::newRow("collation, not code points")
            << QStringList{"delta", "Charlie", "beta"} << "a"
            << QStringList{"beta", "Charlie", "delta"};
    }
    void matching() {
        QFETCH(QStringList, tabTitles);
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        QCOMPARE(titles(TabSearch().results(titled(tabTitles), query)), expected);
    }

    void sortIsStable() {
        const QList<TabItem> tabs{tab("k1", "beta"), tab("k2", "Alpha"), tab("k3", "alpha"),
                                  tab("k4", "ALPHA")};
        QCOMPARE(keys(TabSearch().results(tabs, QStringLiteral("a"))),
                 (QStringList{"k2", "k3", "k4", "k1"}));
    }

    void folderHints() {
        const TabItem filed = tab("f", "Filed");
        const TabItem loose = tab("l", "Loose");
        QCOMPARE(TabSearch::folderHint(*m_store, loose), QString());
        const QUuid clients = m_store->createFolder(QStringLiteral("Clients"));
        m_store->addTab(filed.stableID(), clients, {});
        m_store->toggleExpanded(clients); // a collapsed folder still names its tabs
        QCOMPARE(TabSearch::folderHint(*m_store, filed), QStringLiteral("Clients"));
        QCOMPARE(TabSearch::folderHint(*m_store, loose), QStringLiteral("Ungrouped"));
        m_store->renameFolder(clients, QString());
        QCOMPARE(TabSearch::folderHint(*m_store, filed), QString());
    }

    void createFolderEnabling_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("new name") << "Design" << true;
        QTest::newRow("blank") << " \t " << false;
        QTest::newRow("same name, other case") << "clients" << false;
        QTest::newRow("same name after trimming") << "  CLIENTS\t" << false;
        QTest::newRow("newline is part of the name") << "Clients\n" << true;
        QTest::newRow("stored name is not trimmed") << "Archive" << true;
    }
    void createFolderEnabling() {
        QFETCH(QString, query);
        QFETCH(bool, enabled);
        m_store->createFolder(QStringLiteral("Clients"));
        m_store->createFolder(QStringLiteral(" Archive"));
        QCOMPARE(FolderNaming::canCreateFromSearch(query, m_store->folders()), enabled);
        QCOMPARE(FolderNaming::createFromSearch(*m_store, query), enabled);
        QCOMPARE(m_store->folders().size(), enabled ? 3 : 2);
        QCOMPARE(m_store->folders().last().name == FolderNaming::trimmed(query), enabled);
    }

    // Unlike the search, the new-folder row accepts a name already taken.
    void createFolderFromRowAllowsDuplicates() {
        QVERIFY(FolderNaming::createFromRow(*m_store, QStringLiteral(" Work ")));
        QVERIFY(FolderNaming::createFromRow(*m_store, QStringLiteral("work")));
        QCOMPARE(m_store->folders().size(), 2);
    }

    void navigableTabs() {
        const QList<TabItem> tabs = lettered();
        const QUuid open = m_store->createFolder(QStringLiteral("Open"));
        const QUuid closed = m_store->createFolder(QStringLiteral("Closed"));
        m_store->addTab(QStringLiteral("d"), open, {});
        m_store->addTab(QStringLiteral("b"), open, {});
        m_store->addTab(QStringLiteral("a"), closed, {});
        m_store->toggleExpanded(closed);
        const QList<ClosedTab> recent{closedTab(QStringLiteral("z"))};

        QCOMPARE(keys(derive(tabs, {}, false, recent).navigableTabs),
                 (QStringList{"d", "b", "c", "e"}));
        // Searching reaches tabs of collapsed folders.
        QCOMPARE(keys(derive(tabs, QStringLiteral("a")).navigableTabs), QStringList{"a"});
        QCOMPARE(derive(tabs, QStringLiteral("a")).searchResults.size(), 1);
    }

    void highlightMoves_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("index");
        QTest::newRow("first press of Down") << 5 << "D" << 0;
        QTest::newRow("first press of Up") << 5 << "U" << 0;
        QTest::newRow("down, down, up") << 5 << "DDU" << 0;
        QTest::newRow("down twice") << 5 << "DD" << 1;
        QTest::newRow("stops at the top") << 5 << "DUUU" << 0;
        QTest::newRow("stops at the bottom") << 3 << "DDDDDD" << 2;
    }
    void highlightMoves() {
        QFETCH(int, count);
        QFETCH(QString, keys);
        QFETCH(int, index);
        KeyboardHighlight highlight;
        for (QChar key : keys)
            QVERIFY(key == u'D' ? highlight.moveDown(count) : highlight.moveUp(count));
        QVERIFY(highlight.hasNavigated());
        QCOMPARE(highlight.clampedIndex(count), index);
    }

    void highlightClampsAndResets() {
        KeyboardHighlight highlight;
        QVERIFY(!highlight.moveDown(0)); // an empty list leaves the key to the field
        QVERIFY(!highlight.hasNavigated());
        QCOMPARE(highlight.highlightedIndex(5), std::nullopt); // nothing before an arrow key
        for (int i = 0; i < 5; ++i)
            highlight.moveDown(5);
        QCOMPARE(highlight.highlightedIndex(5), 4);

        QCOMPARE(highlight.highlightedIndex(2), 1); // the list shrank under the highlight
        highlight.moveUp(2);                        // moves from the row shown, not the stale index
        QCOMPARE(highlight.highlightedIndex(2), 0);
        highlight.moveTo(5, 99); // End past the list
        QCOMPARE(highlight.highlightedIndex(5), 4);

        highlight.reset();
        QVERIFY(!highlight.hasNavigated());
        QCOMPARE(highlight.selectedIndex(), 0);
        QCOMPARE(highlight.highlightedIndex(5), std::nullopt);
    }

    void returnOutcome_data() {
        QTest::addColumn<QStringList>("tabTitles");
        QTest::addColumn<QString>("query");
        QTest::addColumn<ReturnOutcome>("expected");
        QTest::newRow("query without results")
            << QStringList{"Roadmap"} << "zzz" << ReturnOutcome::CreateFolderFromSearch;
        QTest::newRow("query without any tabs")
            << QStringList{} << "zzz" << ReturnOutcome::CreateFolderFromSearch;
        QTest::newRow("query with results")
            << QStringList{"Roadmap"} << "road" << ReturnOutcome::OpenTab;
        QTest::newRow("no query, tabs") << QStringList{"Roadmap"} << "" << ReturnOutcome::OpenTab;
        QTest::newRow("no query, no tabs") << QStringList{} << "" << ReturnOutcome::Nothing;
    }
    void returnOutcome() {
        QFETCH(QStringList, tabTitles);
        QFETCH(QString, query);
        QFETCH(ReturnOutcome, expected);
        QCOMPARE(derive(titled(tabTitles), query).returnOutcome(), expected);
    }

    void listHeight_data() {
        QTest::addColumn<int>("screen"); // -1: no screen
        QTest::addColumn<int>("content");
        QTest::addColumn<int>("expected");
        QTest::newRow("no screen") << -1 << 0 << 582;
        QTest::newRow("tall screen caps at 580") << 1200 << 0 << 582;
        QTest::newRow("700 tall") << 700 << 0 << 542;
        QTest::newRow("500 tall") << 500 << 0 << 342;
        QTest::newRow("500 tall, tall content") << 500 << 900 << 342;
        QTest::newRow("500 tall, short content") << 500 << 120 << 120;
        QTest::newRow("tiny screen") << 100 << 0 << 22;
    }
    void listHeight() {
        QFETCH(int, screen);
        QFETCH(int, content);
        QFETCH(int, expected);
        const int cap = ListHeight::cap(screen < 0 ? std::nullopt : std::optional<int>(screen));
        QCOMPARE(ListHeight::height(cap, content), expected);
    }

private:
    PanelSnapshot derive(const QList<TabItem> &tabs, const QString &search = {},
                         bool loading = false, const QList<ClosedTab> &recent = {}) {
        return PanelDerivation().derive({tabs, loading, *m_store, recent, search});
    }

    std::optional<QTemporaryDir> m_dir;
    std::optional<FolderStore> m_store;
};

QTEST_GUILESS_MAIN(PanelModelTest)
#include "tst_panelmodel.moc"
