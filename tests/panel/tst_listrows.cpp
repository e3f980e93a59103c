#include "TestRowHeights.h"
#include "panel/model/ListRows.h"
#include "panel/model/LookFades.h"
#include "panel/model/RowTransition.h"
#include "support/TestTabs.h"

#include <QTest>

namespace {

// "a b" → the open tabs a and b.
QList<TabItem> tabs(const QString &spacedKeys) {
    return openTabs(spacedKeys.split(' ', Qt::SkipEmptyParts));
}

// Folders "f0", "f1", … with the given open tabs ("-" before the keys: collapsed).
PanelSnapshot snapshot(const QStringList &folders, const QString &ungrouped, int closedCount = 0,
                       const QString &search = {}, const QString &results = {}) {
    PanelSnapshot s;
    for (const QString &keys : folders) {
        const bool collapsed = keys.startsWith('-');
        const QList<TabItem> shown = tabs(collapsed ? keys.mid(1) : keys);
        s.folders.append(
            {TabFolder{QUuid::createUuid(), QStringLiteral("f%1").arg(s.folders.size()),
                       stableIDsOf(shown), !collapsed},
             shown});
    }
    s.ungroupedTabs = tabs(ungrouped);
    for (int i = 0; i < closedCount; ++i)
        s.recentTabs.append(
            ClosedTab{QStringLiteral("c%1").arg(i), QStringLiteral("c"), {}, {}, {}});
    s.searchText = search;
    s.searchResults = tabs(results);
    return s;
}

// One letter a row: New folder, Order line, Header, l folder line, Tab, Ungrouped caption,
// hint Card, u ungrouped line, Recent caption, c closed row, Search caption, 0 no results,
// Drop caption, Folder drop row, Gungrouped drop row.
QString kinds(const ListRows &list) {
    static const QString letters = QStringLiteral("NOHlTUCuRcS0DFG");
    QString result;
    for (const ListRow &row : list.rows())
        result += letters[int(row.kind)];
    return result;
}

} // namespace

class ListRowsTest : public QObject {
    Q_OBJECT
private slots:
    void rowsOfTheNormalList_data() {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("ungrouped");
        QTest::addColumn<int>("closed");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<bool>("creating");
        QTest::addColumn<QString>("expected");
        QTest::newRow("expanded folder of three")
            << QStringList{"a b c"} << "" << 0 << false << false << "HlTlTlTl";
        QTest::newRow("collapsed folder")
            << QStringList{"-a b"} << "" << 0 << false << false << "H";
        QTest::newRow("no folder: hint card above line 0")
            << QStringList{} << "a b" << 0 << false << false << "UCuTuTu";
        QTest::newRow("folder, ungrouped, closed")
            << QStringList{""} << "a" << 2 << false << false << "HlUuTuRcc";
        QTest::newRow("edit mode: folders and order lines only")
            << QStringList{"a", "-b"} << "c" << 1 << true << false << "OHlTlOHO";
        QTest::newRow("new folder row first") << QStringList{} << "" << 1 << false << true << "NRc";
    }
    void rowsOfTheNormalList() {
        QFETCH(QStringList, folders);
        QFETCH(QString, ungrouped);
        QFETCH(int, closed);
        QFETCH(bool, editing);
        QFETCH(bool, creating);
        QFETCH(QString, expected);
        const ListRows list = ListRows::normal(snapshot(folders, ungrouped, closed), editing,
                                               creating, testRowHeights());
        QCOMPARE(kinds(list), expected);
    }

    void rowsOfTheSearchResults_data() {
        QTest::addColumn<int>("folderCount");
        QTest::addColumn<QString>("results");
        QTest::addColumn<QString>("expected");
        QTest::newRow("results, no folders") << 0 << "a b"
                                             << "STT";
        QTest::newRow("results and drop rows") << 2 << "a"
                                               << "STDFFG";
        QTest::newRow("no results, drop rows all the same") << 1 << ""
                                                            << "0DFG";
    }
    void rowsOfTheSearchResults() {
        QFETCH(int, folderCount);
        QFETCH(QString, results);
        QFETCH(QString, expected);
        const ListRows list =
            ListRows::search(snapshot(QStringList(folderCount, QString("a")), "", 0, "q", results),
                             testRowHeights());
        QCOMPARE(kinds(list), expected);
    }

    // Tab rows 64 px apart (52 + a 12 px line); sections inset 8 px at the sides and 1 px above
    // and below; folder rows 12 px and lines 20 px further in.
    void geometry() {
        const ListRows list =
            ListRows::normal(snapshot({"a b"}, "c"), false, false, testRowHeights());
        const QList<ListRow> &rows = list.rows();
        QCOMPARE(rows[0].top, 1);  // header
        QCOMPARE(rows[1].top, 41); // line 0
        QCOMPARE(rows[2].top, 53); // a
        QCOMPARE(rows[4].top - rows[2].top, 64);
        QCOMPARE(rows[2].rect(420), QRectF(20, 53, 392, 52));
        QCOMPARE(rows[1].rect(420), QRectF(28, 41, 384, 12));
        QCOMPARE(list.sections()[0].top, 0);
        QCOMPARE(list.sections()[0].height, 1 + 40 + 12 * 3 + 52 * 2 + 1);
        QCOMPARE(list.sections()[1].top, list.sections()[0].height);
        QCOMPARE(list.height(), list.rows().last().bottom() + 1);
        // Only the rows meeting the visible band are asked for.
        const auto [first, last] = list.rowsBetween(60, 120);
        QCOMPARE(first, 2);
        QCOMPARE(last, 5);
    }

    // Folder "a b" expanded: line 0 at y 41–53, line 1 at 105–117, line 2 at 169–181.
    void dropTargetsUnderAPoint_data() {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<int>("line"); // -1: none
        QTest::addColumn<bool>("section");
        QTest::newRow("on line 1") << QPointF(100, 111) << 1 << true;
        QTest::newRow("18 px slack above line 1") << QPointF(100, 88) << 1 << true;
        QTest::newRow("beyond the slack") << QPointF(100, 80) << -1 << true;
        QTest::newRow("slack below line 1") << QPointF(100, 134) << 1 << true;
        QTest::newRow("left of the indented line") << QPointF(20, 111) << -1 << true;
        QTest::newRow("below the section") << QPointF(100, 300) << -1 << false;
    }
    void dropTargetsUnderAPoint() {
        QFETCH(QPointF, point);
        QFETCH(int, line);
        QFETCH(bool, section);
        const PanelSnapshot s = snapshot({"a b"}, "");
        const ListRows list = ListRows::normal(s, false, false, testRowHeights());
        const std::optional<DropTarget> foundLine = list.insertionLineAt(point, 420);
        QCOMPARE(foundLine.has_value(), line >= 0);
        if (foundLine)
            QCOMPARE(*foundLine,
                     (DropTarget{DropTarget::Kind::FolderLine, s.folders[0].folder.id, line}));
        QCOMPARE(list.tabZoneAt(point, 420).has_value(), section);
    }

    // With rows of no height, two lines touch: a point at equal distance from both midlines
    // goes to the earlier line.
    void tieGoesToTheEarlierLine() {
        RowHeights h = testRowHeights();
        h.tabRow = 0;
        const ListRows list = ListRows::normal(snapshot({}, "a"), false, false, h);
        // Ungrouped caption 36 + card 120 after the 1 px inset: lines at 157–169 and 169–181.
        const std::optional<DropTarget> found = list.insertionLineAt(QPointF(100, 169), 420);
        QVERIFY(found);
        QCOMPARE(found->index, 0);
    }

    void editModeTakesFoldersOnItsLinesOnly() {
        const PanelSnapshot s = snapshot({"a", "b"}, "");
        const ListRows list = ListRows::normal(s, true, false, testRowHeights());
        QVERIFY(!list.tabZoneAt(QPointF(100, 30), 420)); // sections take no tabs in edit mode
        QCOMPARE(list.folderLineAt(QPointF(100, 5), 420)->index, 0);
        QVERIFY(!list.folderLineAt(QPointF(100, 30), 420));
    }

    // Folder {a} over ungrouped c: expanded, the caption is at 119; collapsed, at 43. Rows that
    // stay move, rows that come fade in where they land, rows that go fade out where they were.
    void transitionPlacesRows_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<qreal>("progress");
        QTest::addColumn<RowKind>("kind");
        QTest::addColumn<bool>("gone");
        QTest::addColumn<qreal>("top");
        QTest::addColumn<qreal>("opacity");
        const RowKind caption = RowKind::UngroupedCaption;
        const RowKind tab = RowKind::TabRow; // the row of "a"
        QTest::newRow("collapse: caption halfway up")
            << "collapse" << 0.5 << caption << false << 81.0 << 1.0;
        QTest::newRow("collapse: row fades where it was")
            << "collapse" << 0.25 << tab << true << 53.0 << 0.75;
        QTest::newRow("expand: caption starts where it was")
            << "expand" << 0.0 << caption << false << 43.0 << 1.0;
        QTest::newRow("expand: caption ends in place")
            << "expand" << 1.0 << caption << false << 119.0 << 1.0;
        QTest::newRow("expand: row fades in where it lands")
            << "expand" << 0.25 << tab << false << 53.0 << 0.25;
        QTest::newRow("search emptied: the result fades out")
            << "search emptied" << 0.5 << tab << true << 36.0 << 0.5;
        QTest::newRow("search emptied: the list row fades in")
            << "search emptied" << 0.5 << tab << false << 53.0 << 0.5;
    }
    void transitionPlacesRows() {
        QFETCH(QString, change);
        QFETCH(qreal, progress);
        QFETCH(RowKind, kind);
        QFETCH(bool, gone);
        QFETCH(qreal, top);
        QFETCH(qreal, opacity);
        PanelSnapshot expanded = snapshot({"a"}, "c", 0, "a", "a");
        const ListRows results = ListRows::search(expanded, testRowHeights());
        expanded.searchText.clear();
        PanelSnapshot collapsed = expanded;
        collapsed.folders[0].folder.isExpanded = false;
        const ListRows open = ListRows::normal(expanded, false, false, testRowHeights());
        const ListRows closed = ListRows::normal(collapsed, false, false, testRowHeights());
        const ListRows &from = change == "collapse" ? open : change == "expand" ? closed : results;
        const ListRows &to = change == "collapse" ? closed : open;

        RowTransition transition;
        transition.start(from, to, RowTransition::quickMs);
        QVERIFY(transition.isRunning());
        const QList<RowTransition::Placement> placed = transition.placements(progress);
        const auto found = std::find_if(placed.cbegin(), placed.cend(), [&](const auto &p) {
            const ListRows &rows = p.isGone ? from : to;
            const ListRow &row = rows.rows()[p.row];
            if (p.isGone != gone || row.kind != kind)
                return false;
            return kind != RowKind::TabRow || rows.tabs()[row.item].stableID() == "a";
        });
        QVERIFY(found != placed.cend());
        QCOMPARE(found->top, top);
        QCOMPARE(found->opacity, opacity);
        // Every row of the new list is placed, once.
        QCOMPARE(
            std::count_if(placed.cbegin(), placed.cend(), [](const auto &p) { return !p.isGone; }),
            to.rows().size());
    }

    // A look eases to its end and forgets itself when off; turned back midway it goes on from
    // where it was; unseen, it jumps. Once settled, no animation is left running.
    void looksEase_data() {
        QTest::addColumn<bool>("animated");
        QTest::addColumn<bool>("reversed");
        QTest::newRow("on, then off") << true << false;
        QTest::newRow("turned back midway") << true << true;
        QTest::newRow("unseen: jumps") << false << false;
    }
    void looksEase() {
        QFETCH(bool, animated);
        QFETCH(bool, reversed);
        LookFades looks;
        looks.set("hover a", true, 400, animated);
        QCOMPARE(looks.isEasing(), animated);
        if (reversed) {
            QTRY_VERIFY(looks.value("hover a") > 0.1);
            const qreal reached = looks.value("hover a");
            looks.set("hover a", false, 400, true);
            QVERIFY(looks.value("hover a") >= reached && looks.value("hover a") < 1);
        } else {
            QTRY_COMPARE(looks.value("hover a"), 1.0);
            QVERIFY(!looks.isEasing());
            looks.set("hover a", false, 400, animated);
        }
        QTRY_COMPARE(looks.value("hover a"), 0.0);
        QVERIFY(!looks.isEasing());
        QCOMPARE(looks.value("never on"), 0.0);
    }
};

QTEST_GUILESS_MAIN(ListRowsTest)
#include "tst_listrows.moc"
