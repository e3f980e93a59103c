#include "tst_tabrowcontext.h"

#include "panel/ClosedTabRowView.h"
#include "panel/PlainTextButton.h"
#include "panel/RecentlyClosedSectionView.h"

#include <QTest>

class RecentlyClosedTest : public QObject {
    Q_OBJECT

private slots:
    void rowsFollowTheGivenOrder();
    void removeButtonOnlyWhileHovered();
    void removeForgetsEveryEntryOfTheFile();
    void clickReopensAndKeepsTheEntry();
    void reopenedTabIsTransient();
    void clearEmptiesTheStore();

private:
    void record(RowsTestContext &c, const QList<TabItem> &closed);
};

void RecentlyClosedTest::record(RowsTestContext &c, const QList<TabItem> &closed) {
    c.recentlyClosedStore.recordClosed(closed, {});
}

void RecentlyClosedTest::rowsFollowTheGivenOrder() {
    RowsTestContext c;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QList<ClosedTab> entries{
        {"b", QString::fromUtf8("Second – Figma"), RowsTestContext::figmaUrl("b"), {}, now},
        {"a", "First - Figma", RowsTestContext::figmaUrl("a"), {}, now.addSecs(-5)}};
    RecentlyClosedSectionView section(entries, c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QCOMPARE(section.rows().size(), 2);
    QCOMPARE(section.rows()[0]->closedTab().stableID, QStringLiteral("b"));
    QVERIFY(section.rows()[0]->geometry().top() < section.rows()[1]->geometry().top());
    QCOMPARE(section.rows()[0]->height(), 54);
    QCOMPARE(section.sizeHint().height(), section.rows()[1]->geometry().bottom() + 1);
}

void RecentlyClosedTest::removeButtonOnlyWhileHovered() {
    RowsTestContext c;
    record(c, {RowsTestContext::tab("a")});
    ClosedTabRowView row(c.recentlyClosedStore.recentTabs().first(), c.context);
    row.resize(420, ClosedTabRowView::rowHeight);
    row.show();
    QVERIFY(!row.isHovered());
    // Without hovering, a click where the button would be reopens instead of removing.
    QTest::mouseClick(&row, Qt::LeftButton, {}, row.removeButtonRect().center());
    QCOMPARE(c.recentlyClosedStore.recentTabs().size(), 1);
    QCOMPARE(c.workspace.openedUrls.size(), 1);
}

void RecentlyClosedTest::removeForgetsEveryEntryOfTheFile() {
    RowsTestContext c;
    // The same file open twice and closed: two entries with one stable id.
    record(c, {RowsTestContext::tab("a"), RowsTestContext::tab("a"), RowsTestContext::tab("b")});
    QCOMPARE(c.recentlyClosedStore.recentTabs().size(), 3);
    const QList<ClosedTab> entries = c.recentlyClosedStore.recentTabs();
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [](const ClosedTab &tab) { return tab.stableID == "a"; });
    QVERIFY(entry != entries.end());
    ClosedTabRowView row(*entry, c.context);
    row.resize(420, ClosedTabRowView::rowHeight);
    row.show();
    row.setHovered(true);
    QTest::mouseClick(&row, Qt::LeftButton, {}, row.removeButtonRect().center());
    QCOMPARE(c.recentlyClosedStore.recentTabs().size(), 1);
    QCOMPARE(c.recentlyClosedStore.recentTabs().first().stableID, QStringLiteral("b"));
    QVERIFY(c.workspace.openedUrls.isEmpty());
}

void RecentlyClosedTest::clickReopensAndKeepsTheEntry() {
    RowsTestContext c;
    record(c, {RowsTestContext::tab("a")});
    ClosedTabRowView row(c.recentlyClosedStore.recentTabs().first(), c.context);
    row.resize(420, ClosedTabRowView::rowHeight);
    row.show();
    row.setHovered(true);
    QTest::mouseClick(&row, Qt::LeftButton, {}, QPoint(150, 27));
    QCOMPARE(c.workspace.openedUrls.size(), 1);
    QCOMPARE(c.workspace.openedUrls.first().toString(), QStringLiteral("figma:///design/a/File"));
    QCOMPARE(c.recentlyClosedStore.recentTabs().size(), 1);
}

void RecentlyClosedTest::reopenedTabIsTransient() {
    RowsTestContext c;
    const QUrl thumbnail("https://example.com/t.png");
    const ClosedTab entry{"key", "Title - Figma", RowsTestContext::figmaUrl("key"), thumbnail,
                          QDateTime::currentDateTimeUtc()};
    ClosedTabRowView row(entry, c.context);
    const TabItem tab = row.reopenedTab();
    QCOMPARE(tab.id, QStringLiteral("closed-key"));
    QCOMPARE(tab.title, entry.title);
    QCOMPARE(tab.url, entry.url);
    QCOMPARE(tab.thumbnailURL, thumbnail);
    QVERIFY(!tab.isActive);
}

void RecentlyClosedTest::clearEmptiesTheStore() {
    RowsTestContext c;
    record(c, {RowsTestContext::tab("a"), RowsTestContext::tab("b")});
    RecentlyClosedSectionView section(c.recentlyClosedStore.recentTabs(), c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QCOMPARE(section.clearButton()->text(), QStringLiteral("Clear"));
    QTest::mouseClick(section.clearButton(), Qt::LeftButton);
    QVERIFY(c.recentlyClosedStore.recentTabs().isEmpty());
}

QTEST_MAIN(RecentlyClosedTest)
#include "tst_recentlyclosed.moc"
