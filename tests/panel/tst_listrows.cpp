#include "panel/model/ListRows.h"
#include "support/TestRowHeights.h"
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
    // Rows missing or out of place: a tab under a collapsed folder, no line to drop on, the
    // hint card after the tabs, tabs in edit mode.
    void rowsOfTheNormalList_data() {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QString>("ungrouped");
        QTest::addColumn<int>("closed");
        QTest::addColumn<bool>("editing");
        QTest::addColumn<bool>("creating");
        QTest::addColumn<QString>("expected");
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

    // A result could not be filed from the search: the drop rows, one a folder and one for
    // Ungrouped, are there with results and without.
    void rowsOfTheSearchResults() {
        const auto searched = [](int folderCount, const QString &results) {
            return kinds(ListRows::search(
                snapshot(QStringList(folderCount, QString("a")), "", 0, "q", results),
                testRowHeights()));
        };
        QCOMPARE(searched(2, "a"), QStringLiteral("STDFFG"));
        QCOMPARE(searched(1, ""), QStringLiteral("0DFG"));
    }

    // A result named the wrong place: a collapsed folder still names its tabs, and a folder
    // with no name is still a folder, not Ungrouped.
    void folderHints() {
        PanelSnapshot s = snapshot({"-a", "b"}, "c", 0, "q", "a b c");
        s.folders[1].folder.name.clear();
        const ListRows list = ListRows::search(s, testRowHeights());
        QCOMPARE(*list.folderHint(0), FolderHint{QStringLiteral("f0")});
        QCOMPARE(*list.folderHint(1), FolderHint{QString()});
        QVERIFY(list.folderHint(2)->isUngrouped);
    }

    // Rows overlapping or apart take a press or a drop meant for their neighbour; a row left
    // out of the visible band is never painted. Tab rows are 64 px apart (52 + a 12 px line),
    // sections 1 px in above and below.
    void geometry() {
        const ListRows list =
            ListRows::normal(snapshot({"a b"}, "c"), false, false, testRowHeights());
        const QList<ListRow> &rows = list.rows();
        QCOMPARE(rows[0].top, 1);  // header
        QCOMPARE(rows[1].top, 41); // line 0
        QCOMPARE(rows[2].top, 53); // a
        QCOMPARE(rows[4].top - rows[2].top, 64);
        QCOMPARE(list.sections()[0].top, 0);
        QCOMPARE(list.sections()[0].height, 1 + 40 + 12 * 3 + 52 * 2 + 1);
        QCOMPARE(list.sections()[1].top, list.sections()[0].height);
        QCOMPARE(list.height(), list.rows().last().bottom() + 1);
        // Only the rows meeting the visible band are asked for.
        const auto [first, last] = list.rowsBetween(60, 120);
        QCOMPARE(first, 2);
        QCOMPARE(last, 5);
    }

    // A drop landed on a line other than the one under the pointer, or on none where one was
    // near. Folder "a b" expanded: line 0 at y 41–53, line 1 at 105–117, line 2 at 169–181.
    void dropTargetsUnderAPoint_data() {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<int>("line"); // -1: none
        QTest::addColumn<bool>("section");
        QTest::newRow("18 px slack above line 1") << QPointF(100, 88) << 1 << true;
        QTest::newRow("beyond the slack") << QPointF(100, 80) << -1 << true;
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
        if (foundLine) {
            QCOMPARE(foundLine->folderID, s.folders[0].folder.id);
            QCOMPARE(foundLine->index, line);
        }
        QCOMPARE(list.tabZoneAt(point, 420).has_value(), section);
    }

    // In edit mode a tab dropped on a folder was filed, and a folder dropped anywhere moved.
    void editModeTakesFoldersOnItsLinesOnly() {
        const PanelSnapshot s = snapshot({"a", "b"}, "");
        const ListRows list = ListRows::normal(s, true, false, testRowHeights());
        QVERIFY(!list.tabZoneAt(QPointF(100, 30), 420)); // sections take no tabs in edit mode
        QCOMPARE(list.folderLineAt(QPointF(100, 5), 420)->index, 0);
        QVERIFY(!list.folderLineAt(QPointF(100, 30), 420));
    }

    // A search drop row took drops in its padding, where nothing lights up.
    void dropRowsTakeDropsWhereLit() {
        const ListRows list = ListRows::search(snapshot({"a"}, "", 0, "q", "a"), testRowHeights());
        const ListRow &row = list.rows().last();
        QCOMPARE(row.kind, RowKind::UngroupedDropRow);
        QVERIFY(list.tabZoneAt(QPointF(100, row.top + row.height / 2), 420));
        QVERIFY(!list.tabZoneAt(QPointF(5, row.top + row.height / 2), 420));
    }
};

QTEST_GUILESS_MAIN(ListRowsTest)
#include "tst_listrows.moc"
