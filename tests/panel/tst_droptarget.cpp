#include "tst_tabrowcontext.h"

#include "dragdrop/DragState.h"
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
    // Folders A {a, b} and B {c}; tabs dropped on A's row or on the "Ungrouped" row.
    void rowDrops_data() {
        QTest::addColumn<bool>("onFolderA");
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QStringList>("folderA");
        QTest::addColumn<QStringList>("folderB");
        QTest::newRow("appended in drag order")
            << true << QStringList{"c", "x", "y"} << QStringList{"a", "b", "c", "x", "y"}
            << QStringList();
        QTest::newRow("a member goes to the end")
            << true << QStringList{"a"} << QStringList{"b", "a"} << QStringList{"c"};
        QTest::newRow("ungrouped takes tabs out")
            << false << QStringList{"c", "a"} << QStringList{"b"} << QStringList();
    }
    void rowDrops() {
        QFETCH(bool, onFolderA);
        QFETCH(QStringList, dropped);
        QFETCH(QStringList, folderA);
        QFETCH(QStringList, folderB);
        RowsTestContext c;
        const QList<QUuid> ids = c.makeFolders({{"A", {"a", "b"}}, {"B", {"c"}}});
        if (onFolderA)
            FolderDropTargetRow(c.folder(ids[0]), &c.folderStore).dropTabs(dropped);
        else
            UngroupedDropTargetRow(&c.folderStore).dropTabs(dropped);
        QCOMPARE(c.folderTabIDs(ids[0]), folderA);
        QCOMPARE(c.folderTabIDs(ids[1]), folderB);
    }

    void ungroupedRowSavesEvenForUnfiledTabs() {
        RowsTestContext c;
        QVERIFY(!QFileInfo::exists(c.folderFilePath()));
        UngroupedDropTargetRow(&c.folderStore).dropTabs({"free"});
        QVERIFY(QFileInfo::exists(c.folderFilePath()));
    }

    void targetedLook() {
        RowsTestContext c;
        const QUuid id = c.makeFolders({{"A", {}}}).first();
        FolderDropTargetRow row(c.folder(id), &c.folderStore);
        showInPanelWidth(row);
        QCOMPARE(row.symbolColor(), Style::color(Style::Role::Blue, row.palette()));
        hoverZone(row.dropHighlight().zone());
        QVERIFY(row.isTargeted());
        QCOMPARE(row.symbolColor(), Style::color(Style::Role::Accent, row.palette()));
        QTRY_COMPARE(row.dropHighlight().progress(), 1.0);
        dropOnHoveredZone({"x"});
        QVERIFY(!row.isTargeted());
        QCOMPARE(c.folderTabIDs(id), QStringList{"x"});
        // The tint fades out rather than vanishing.
        QVERIFY(row.dropHighlight().fillColor().alpha() > 0);
        QTRY_COMPARE(row.dropHighlight().fillColor().alpha(), 0);
    }

    // Drop zones lie over rows that must still take clicks.
    void zonesLetClicksThroughAndLightUp() {
        RowsTestContext c;
        UngroupedDropTargetRow row(&c.folderStore);
        FolderOrderInsertionLine line(0, &c.folderStore);
        QVERIFY(row.dropHighlight().zone()->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(line.testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(line.zone()->testAttribute(Qt::WA_TransparentForMouseEvents));
        showInPanelWidth(line);

        hoverZone(line.zone());
        QVERIFY(line.isTargeted());
        DragState::shared().folderInsertionZones().clearHover();
    }

    void folderOrderLine_data() {
        QTest::addColumn<int>("dragged");
        QTest::addColumn<int>("target");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("onto the line above itself") << 1 << 1 << QStringList{"A", "B", "C"};
        QTest::newRow("last to the top") << 2 << 0 << QStringList{"C", "A", "B"};
        QTest::newRow("first between B and C") << 0 << 2 << QStringList{"B", "A", "C"};
        QTest::newRow("first to the end") << 0 << 3 << QStringList{"B", "C", "A"};
        QTest::newRow("unknown folder") << -1 << 0 << QStringList{"A", "B", "C"};
    }
    void folderOrderLine() {
        QFETCH(int, dragged);
        QFETCH(int, target);
        QFETCH(QStringList, order);
        RowsTestContext c;
        const QList<QUuid> ids = c.makeFolders({{"A", {}}, {"B", {}}, {"C", {}}});
        FolderOrderInsertionLine(target, &c.folderStore)
            .dropFolder(dragged < 0 ? QUuid::createUuid() : ids[dragged]);
        QCOMPARE(c.folderNames(), order);
    }
};

QTEST_MAIN(DropTargetTest)
#include "tst_droptarget.moc"
