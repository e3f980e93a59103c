#include "tst_tabrowcontext.h"

#include "panel/ClosedTabRowView.h"
#include "panel/PlainTextButton.h"
#include "panel/RecentlyClosedSectionView.h"

#include <QTest>

class RecentlyClosedTest : public QObject {
    Q_OBJECT
private slots:
    // "a" was open twice when closed: two entries with one stable id, then "b".
    void clickOnARow_data() {
        QTest::addColumn<bool>("hovered");
        QTest::addColumn<bool>("onRemoveButton");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("opened");
        QTest::newRow("reopens and keeps the entry")
            << true << false << QStringList{"a", "a", "b"} << 1;
        QTest::newRow("remove forgets every entry of the file")
            << true << true << QStringList{"b"} << 0;
        QTest::newRow("remove button only while hovered")
            << false << true << QStringList{"a", "a", "b"} << 1;
    }
    void clickOnARow() {
        QFETCH(bool, hovered);
        QFETCH(bool, onRemoveButton);
        QFETCH(QStringList, left);
        QFETCH(int, opened);
        RowsTestContext c;
        c.recentlyClosedStore.recordClosed(RowsTestContext::tabs({"a", "a", "b"}), {});
        const QList<ClosedTab> entries = c.recentlyClosedStore.recentTabs();
        ClosedTabRowView row(
            *std::find_if(entries.begin(), entries.end(),
                          [](const ClosedTab &tab) { return tab.stableID == "a"; }),
            c.context);
        showInPanelWidth(row);
        row.setHovered(hovered);
        QTest::mouseClick(&row, Qt::LeftButton, {},
                          onRemoveButton ? row.removeButtonRect().center() : QPoint(150, 27));
        QStringList ids;
        for (const ClosedTab &entry : c.recentlyClosedStore.recentTabs())
            ids.append(entry.stableID);
        ids.sort();
        QCOMPARE(ids, left);
        QCOMPARE(c.workspace.openedUrls.size(), opened);
        if (opened)
            QCOMPARE(c.workspace.openedUrls.first(), QUrl("figma:///design/a/File"));
    }

    void clearEmptiesTheStore() {
        RowsTestContext c;
        c.recentlyClosedStore.recordClosed(RowsTestContext::tabs({"a", "b"}), {});
        RecentlyClosedSectionView section(c.recentlyClosedStore.recentTabs(), c.context);
        showInPanelWidth(section);
        QCOMPARE(section.rows().size(), 2);
        QCOMPARE(section.rows()[1]->closedTab().stableID,
                 c.recentlyClosedStore.recentTabs()[1].stableID);
        QCOMPARE(section.clearButton()->text(), QStringLiteral("Clear"));
        QTest::mouseClick(section.clearButton(), Qt::LeftButton);
        QVERIFY(c.recentlyClosedStore.recentTabs().isEmpty());
    }
};

QTEST_MAIN(RecentlyClosedTest)
#include "tst_recentlyclosed.moc"
