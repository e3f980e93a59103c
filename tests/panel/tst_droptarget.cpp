#include "tst_tabrowcontext.h"

#include "dragdrop/DropZoneView.h"
#include "dragdrop/FolderInsertionZoneView.h"
#include "panel/FolderDropTargetRow.h"
#include "panel/FolderOrderInsertionLine.h"
#include "panel/UngroupedDropTargetRow.h"
#include "panel/style/Style.h"

#include <QFileInfo>
#include <QTest>

class DropTargetTest : public QObject {
    Q_OBJECT

private slots:
    void folderRowAppendsInDragOrder();
    void folderRowMovesAMemberToTheEnd();
    void ungroupedRowTakesTabsOut();
    void ungroupedRowSavesEvenForUnfiledTabs();
    void targetedLook();
    void zonesLetClicksThrough();
    void folderOrderLine_data();
    void folderOrderLine();
    void folderOrderLineHeight();
};

void DropTargetTest::folderRowAppendsInDragOrder() {
    RowsTestContext c;
    const QList<QUuid> ids = c.makeFolders({{"A", {"a"}}, {"B", {"z"}}});
    FolderDropTargetRow row(c.folderStore.folders().first(), &c.folderStore);
    row.dropTabs({"z", "x", "y"});
    QCOMPARE(c.folderTabIDs(ids[0]), (QStringList{"a", "z", "x", "y"}));
    QVERIFY(c.folderTabIDs(ids[1]).isEmpty());
}

void DropTargetTest::folderRowMovesAMemberToTheEnd() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"A", {"a", "b", "c"}}}).first();
    FolderDropTargetRow row(c.folderStore.folders().first(), &c.folderStore);
    row.dropTabs({"a"});
    QCOMPARE(c.folderTabIDs(id), (QStringList{"b", "c", "a"}));
}

void DropTargetTest::ungroupedRowTakesTabsOut() {
    RowsTestContext c;
    const QList<QUuid> ids = c.makeFolders({{"A", {"a", "b"}}, {"B", {"c"}}});
    UngroupedDropTargetRow row(&c.folderStore);
    row.dropTabs({"c", "a"});
    QCOMPARE(c.folderTabIDs(ids[0]), QStringList{"b"});
    QVERIFY(c.folderTabIDs(ids[1]).isEmpty());
}

void DropTargetTest::ungroupedRowSavesEvenForUnfiledTabs() {
    RowsTestContext c;
    UngroupedDropTargetRow row(&c.folderStore);
    QVERIFY(!QFileInfo::exists(c.folderFilePath()));
    row.dropTabs({"free"});
    QVERIFY(QFileInfo::exists(c.folderFilePath()));
}

void DropTargetTest::targetedLook() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"A", {}}}).first();
    FolderDropTargetRow row(c.folderStore.folders().first(), &c.folderStore);
    row.resize(420, row.sizeHint().height());
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    const QColor accent = Style::color(Style::Role::Accent, row.palette());
    QCOMPARE(row.symbolColor(), Style::color(Style::Role::Blue, row.palette()));
    hoverZone(row.dropHighlight().zone());
    QVERIFY(row.isTargeted());
    QCOMPARE(row.symbolColor(), accent);
    QTRY_COMPARE(row.dropHighlight().progress(), 1.0);
    QVERIFY(qAbs(row.dropHighlight().fillColor().alphaF() - accent.alphaF() * 0.14) < 0.01);
    dropOnHoveredZone({"x"});
    QVERIFY(!row.isTargeted());
    QCOMPARE(c.folderTabIDs(id), QStringList{"x"});
    // The tint fades out rather than vanishing.
    QVERIFY(row.dropHighlight().fillColor().alphaF() > 0);
    QTRY_COMPARE(row.dropHighlight().fillColor().alpha(), 0);

    UngroupedDropTargetRow ungrouped(&c.folderStore);
    QCOMPARE(ungrouped.symbolColor(), Style::color(Style::Role::Secondary, ungrouped.palette()));
}

void DropTargetTest::zonesLetClicksThrough() {
    RowsTestContext c;
    UngroupedDropTargetRow row(&c.folderStore);
    FolderOrderInsertionLine line(0, &c.folderStore);
    QVERIFY(row.dropHighlight().zone()->testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(line.testAttribute(Qt::WA_TransparentForMouseEvents));
    QVERIFY(line.zone()->testAttribute(Qt::WA_TransparentForMouseEvents));
}

void DropTargetTest::folderOrderLine_data() {
    QTest::addColumn<int>("dragged");
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("onto the line above itself") << 1 << 1 << QStringList{"A", "B", "C"};
    QTest::newRow("last to the top") << 2 << 0 << QStringList{"C", "A", "B"};
    QTest::newRow("first between B and C") << 0 << 2 << QStringList{"B", "A", "C"};
    QTest::newRow("first to the end") << 0 << 3 << QStringList{"B", "C", "A"};
    QTest::newRow("unknown folder") << -1 << 0 << QStringList{"A", "B", "C"};
}

void DropTargetTest::folderOrderLine() {
    QFETCH(int, dragged);
    QFETCH(int, target);
    QFETCH(QStringList, order);
    RowsTestContext c;
    const QList<QUuid> ids = c.makeFolders({{"A", {}}, {"B", {}}, {"C", {}}});
    FolderOrderInsertionLine line(target, &c.folderStore);
    line.dropFolder(dragged < 0 ? QUuid::createUuid() : ids[dragged]);
    QStringList names;
    for (const TabFolder &folder : c.folderStore.folders())
        names.append(folder.name);
    QCOMPARE(names, order);
}

void DropTargetTest::folderOrderLineHeight() {
    RowsTestContext c;
    FolderOrderInsertionLine line(0, &c.folderStore);
    line.resize(420, 12);
    line.show();
    QCOMPARE(line.height(), 12);
    QCOMPARE(line.zone()->geometry(), line.rect());
    QVERIFY(!line.isTargeted());
}

QTEST_MAIN(DropTargetTest)
#include "tst_droptarget.moc"
