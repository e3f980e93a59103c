#include "tst_tabrowcontext.h"

#include "dragdrop/DropZoneView.h"
#include "panel/TabRowView.h"
#include "panel/UngroupedHintCard.h"
#include "panel/UngroupedInsertionLine.h"
#include "panel/UngroupedSectionView.h"
#include "panel/style/Style.h"

#include <QAbstractButton>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

class UngroupedSectionTest : public QObject {
    Q_OBJECT

private slots:
    void linesAroundRows();
    void hintCardOnlyWithoutFolders();
    void createFirstFolderAsksThePanel();
    void sectionDropUngroupsInOrder();
    void droppingAnUngroupedTabStillSaves();
    void dragOverShowsDropToUngroup();
    void lineDropPlacesTabs_data();
    void lineDropPlacesTabs();
};

void UngroupedSectionTest::linesAroundRows() {
    RowsTestContext c;
    c.makeFolders({{"Work", {}}});
    UngroupedSectionView section(RowsTestContext::tabs({"a", "b", "c"}), c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QCOMPARE(section.rows().size(), 3);
    QCOMPARE(section.lines().size(), 4);
    for (int p = 0; p < 4; ++p) {
        QCOMPARE(section.lines()[p]->index(), p);
        QCOMPARE(section.lines()[p]->geometry().left(), 8 + 20);
        if (p < 3) {
            QCOMPARE(section.rows()[p]->geometry().left(), 8);
            QCOMPARE(section.rows()[p]->geometry().top(),
                     section.lines()[p]->geometry().bottom() + 1);
            QCOMPARE(section.lines()[p + 1]->geometry().top(),
                     section.rows()[p]->geometry().bottom() + 1);
        }
    }
    QVERIFY(!section.hintCard());
}

void UngroupedSectionTest::hintCardOnlyWithoutFolders() {
    RowsTestContext c;
    UngroupedSectionView section(RowsTestContext::tabs({"a"}), c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QVERIFY(section.hintCard());
    const QRect card = section.hintCard()->geometry();
    QCOMPARE(card.left(), 8 + 14);
    QCOMPARE(card.right(), 420 - 8 - 14 - 1);
    QCOMPARE(section.lines().first()->geometry().top(), card.bottom() + 1 + 10);
}

void UngroupedSectionTest::createFirstFolderAsksThePanel() {
    RowsTestContext c;
    UngroupedSectionView section(RowsTestContext::tabs({"a"}), c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QSignalSpy requested(&c.notifications, &AppNotifications::startCreatingFolder);
    QTest::mouseClick(section.hintCard()->createButton(), Qt::LeftButton);
    QCOMPARE(requested.size(), 1);
}

void UngroupedSectionTest::sectionDropUngroupsInOrder() {
    RowsTestContext c;
    const QList<QUuid> ids = c.makeFolders({{"A", {"x", "k"}}, {"B", {"y"}}});
    UngroupedSectionView section(RowsTestContext::tabs({"a"}), c.context);
    section.dropTabs({"y", "x"});
    QCOMPARE(c.folderTabIDs(ids[0]), QStringList{"k"});
    QVERIFY(c.folderTabIDs(ids[1]).isEmpty());
}

void UngroupedSectionTest::droppingAnUngroupedTabStillSaves() {
    RowsTestContext c;
    UngroupedSectionView section(RowsTestContext::tabs({"a"}), c.context);
    QVERIFY(!QFileInfo::exists(c.folderFilePath()));
    section.dropTabs({"a"});
    QVERIFY(QFileInfo::exists(c.folderFilePath()));
}

void UngroupedSectionTest::dragOverShowsDropToUngroup() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"A", {"x"}}}).first();
    UngroupedSectionView section(RowsTestContext::tabs({"a"}), c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QVERIFY(QTest::qWaitForWindowExposed(&section));
    const QColor accent = Style::color(Style::Role::Accent, section.palette());
    QCOMPARE(section.captionColor(), Style::color(Style::Role::Secondary, section.palette()));
    hoverZone(section.dropHighlight().zone());
    QVERIFY(section.isDragTargeted());
    QCOMPARE(section.captionColor(), accent);
    QTRY_COMPARE(section.dropHighlight().progress(), 1.0);
    QVERIFY(qAbs(section.dropHighlight().borderColor().alphaF() - accent.alphaF() * 0.5) < 0.01);
    dropOnHoveredZone({"x"});
    QVERIFY(!section.isDragTargeted());
    QVERIFY(c.folderTabIDs(id).isEmpty());
}

void UngroupedSectionTest::lineDropPlacesTabs_data() {
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("two tabs on line 1") << QStringList{"a", "b", "c"} << 1 << QStringList{"x", "y"}
                                        << QStringList{"a", "x", "y", "b", "c"};
    QTest::newRow("move a down") << QStringList{"a", "b", "c", "d"} << 3 << QStringList{"a"}
                                 << QStringList{"b", "c", "a", "d"};
}

void UngroupedSectionTest::lineDropPlacesTabs() {
    QFETCH(QStringList, shown);
    QFETCH(int, line);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, order);
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"A", {"x", "y"}}}).first();
    UngroupedSectionView section(RowsTestContext::tabs(shown), c.context);
    section.lines()[line]->drop(dropped);
    QCOMPARE(c.folderStore.ungroupedOrder(), order);
    QVERIFY(c.folderTabIDs(id).isEmpty() || !dropped.contains("x"));
}

QTEST_MAIN(UngroupedSectionTest)
#include "tst_ungrouped.moc"
