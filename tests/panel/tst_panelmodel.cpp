#include "panel/model/FolderNaming.h"
#include "panel/model/KeyboardHighlight.h"
#include "panel/model/ListHeight.h"
#include "panel/model/PanelDerivation.h"
#include "panel/model/PanelTexts.h"
#include "panel/model/TabSearch.h"
#include "stores/FolderStore.h"
#include "support/TestTabs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Open tabs keyed "0", "1", … with these titles.
QList<TabItem> titled(const QStringList &titles) {
    QList<TabItem> tabs;
    for (const QString &title : titles)
        tabs.append(openTab(QString::number(tabs.size()), title));
    return tabs;
}

QStringList titles(const QList<TabItem> &tabs) {
    QStringList result;
    for (const TabItem &item : tabs)
        result.append(item.title);
    return result;
}

ClosedTab closedTab(const QString &key) {
    return ClosedTab{key, key, {}, {}, QDateTime::currentDateTimeUtc()};
}

} // namespace

class PanelModelTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir.emplace();
        m_store.emplace(m_dir->path());
    }

    // The wrong page in the panel: a spinner over tabs already read, an empty page over
    // recently closed ones, the list under a query of spaces.
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
        QTest::newRow("only recent") << false << 0 << 1 << "" << ContentState::NormalList;
        QTest::newRow("spaces are a query")
            << false << 3 << 0 << "  " << ContentState::SearchResults;
    }
    void contentState() {
        QFETCH(bool, loading);
        QFETCH(int, tabs);
        QFETCH(int, recent);
        QFETCH(QString, search);
        QFETCH(ContentState, expected);
        QList<ClosedTab> closed;
        for (int i = 0; i < recent; ++i)
            closed.append(closedTab(QStringLiteral("c%1").arg(i)));
        m_store->createFolder(QStringLiteral("Clients")); // folders alone are no content
        const PanelSnapshot snapshot =
            derive(titled(QStringList(tabs, QStringLiteral("T"))), search, loading, closed);
        QCOMPARE(snapshot.contentState, expected);
        QCOMPARE(snapshot.tabCount, tabs);
    }

    // The empty page named the wrong place to look: a folder beside the home folder shown as
    // if inside it.
    void sessionFileNotFound() {
        const QString home = QDir::homePath();
        QCOMPARE(PanelTexts::sessionFileNotFound(
                     {home + "/.config/Figma/settings.json", home + "2/settings.json"}),
                 "Looked for Figma's session file at ~/.config/Figma/settings.json or " + home +
                     "2/settings.json.");
        QCOMPARE(PanelTexts::sessionFileNotFound({"/a", "/b", "/c"}),
                 QStringLiteral("Looked for Figma's session file at /a, /b or /c."));
    }

    // The search missed tabs or put them out of order: spaces are part of the query, the title
    // is matched as read, results sort by collation and equal titles keep the list's order.
    void matching() {
        const struct {
            QStringList tabTitles;
            QString query;
            QStringList expected;
        } cases[] = {
            {{"UI design", "Design system"}, "design ", {"Design system"}},
            {{QString::fromUtf8("Board \u2013 Figma"), "Plain"},
             "figma",
             {QString::fromUtf8("Board \u2013 Figma")}},
            {{"delta", "Charlie", "beta"}, "a", {"beta", "Charlie", "delta"}},
        };
        for (const auto &c : cases)
            QCOMPARE(titles(TabSearch().results(titled(c.tabTitles), c.query)), c.expected);

        const QList<TabItem> equal = titled({"beta", "Alpha", "alpha", "ALPHA"});
        QCOMPARE(stableIDsOf(TabSearch().results(equal, QStringLiteral("a"))),
                 (QStringList{"1", "2", "3", "0"}));
    }

    // A folder made from the search under a name already taken (case and spaces aside), or a
    // blank one; the new-folder row, unlike the search, takes a name already taken.
    void folderNames() {
        m_store->createFolder(QStringLiteral("Clients"));
        const struct {
            const char *query;
            bool enabled;
        } cases[] = {{" Design\t", true}, {" \t ", false}, {"  CLIENTS\t", false}};
        for (const auto &[query, enabled] : cases) {
            const qsizetype before = m_store->folders().size();
            QCOMPARE(FolderNaming::canCreateFromSearch(query, m_store->folders()), enabled);
            QCOMPARE(FolderNaming::createFromSearch(*m_store, query), enabled);
            QCOMPARE(m_store->folders().size(), before + (enabled ? 1 : 0));
        }
        QCOMPARE(m_store->folders().last().name, QStringLiteral("Design"));

        QVERIFY(FolderNaming::createFromRow(*m_store, QStringLiteral(" design ")));
        QCOMPARE(m_store->folders().last().name, QStringLiteral("design"));
        QVERIFY(!FolderNaming::createFromRow(*m_store, QStringLiteral(" \t")));
    }

    // Return before any arrow key opened a tab the keys do not reach first: one of a collapsed
    // folder, or one below the folders; a search missed the collapsed folder's tabs.
    void navigableTabs() {
        const QList<TabItem> tabs = openTabs(ids("a b c d e"));
        const QUuid open = m_store->createFolder(QStringLiteral("Open"));
        const QUuid closed = m_store->createFolder(QStringLiteral("Closed"));
        m_store->addTab(QStringLiteral("d"), open, {});
        m_store->addTab(QStringLiteral("b"), open, {});
        m_store->addTab(QStringLiteral("a"), closed, {});
        m_store->toggleExpanded(closed);
        const QList<ClosedTab> recent{closedTab(QStringLiteral("z"))};

        QCOMPARE(stableIDsOf(derive(tabs, {}, false, recent).navigableTabs),
                 (QStringList{"d", "b", "c", "e"}));
        QCOMPARE(stableIDsOf(derive(tabs, QStringLiteral("a")).navigableTabs), QStringList{"a"});
    }

    // A list that shrank under the highlight left it past the end, and Up moved from the stale
    // index; a reset kept the old highlight for the next opening.
    void highlightClampsAndResets() {
        KeyboardHighlight highlight;
        QCOMPARE(highlight.highlightedIndex(5), std::nullopt); // nothing before an arrow key
        for (int i = 0; i < 5; ++i)
            highlight.moveDown(5);
        QCOMPARE(highlight.highlightedIndex(2), 1);
        highlight.moveUp(2);
        QCOMPARE(highlight.highlightedIndex(2), 0);
        highlight.moveTo(5, 99); // End past the list
        QCOMPARE(highlight.highlightedIndex(5), 4);

        highlight.reset();
        QVERIFY(!highlight.hasNavigated());
        QCOMPARE(highlight.highlightedIndex(5), std::nullopt);
    }

    // Return acted with nothing to act on: a folder from a query over no tabs at all, a tab
    // opened from an empty list.
    void returnOutcome() {
        QCOMPARE(derive({}, QStringLiteral("zzz")).returnOutcome(),
                 ReturnOutcome::CreateFolderFromSearch);
        QCOMPARE(derive({}, {}, false, {closedTab(QStringLiteral("z"))}).returnOutcome(),
                 ReturnOutcome::Nothing);
    }

    // A panel taller than a small screen, whose bottom rows nobody can reach.
    void listHeight_data() {
        QTest::addColumn<int>("screen"); // -1: no screen
        QTest::addColumn<int>("content");
        QTest::addColumn<int>("expected");
        QTest::newRow("no screen") << -1 << 0 << 582;
        QTest::newRow("tall screen caps at 580") << 1200 << 0 << 582;
        QTest::newRow("500 tall") << 500 << 900 << 342;
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
