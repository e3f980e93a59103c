#include "tst_tabrowcontext.h"

#include "dragdrop/DragState.h"
#include "dragdrop/DropZoneView.h"
#include "dragdrop/FolderInsertionZoneView.h"
#include "panel/FolderDropTargetRow.h"
#include "panel/FolderOrderInsertionLine.h"
#include "panel/UngroupedDropTargetRow.h"
#include "ui/Style.h"

#include <QSignalSpy>
#include <QTest>

class DropTargetTest : public QObject {
    Q_OBJECT
private slots:
    // Each row hands the whole drop to the store (placement rules: store tests).
    void rowDropsSaveOnce() {
        RowsTestContext c;
        const QList<QUuid> ids = c.makeFolders({{"A", {"a"}}, {"B", {"c"}}});
        QSignalSpy saved(&c.folderStore, &FolderStore::saved);
        FolderDropTargetRow(c.folder(ids[0]), &c.folderStore).dropTabs({"c", "x"});
        QCOMPARE(c.folderTabIDs(ids[0]), (QStringList{"a", "c", "x"}));
        UngroupedDropTargetRow(&c.folderStore).dropTabs({"a", "free"});
        QCOMPARE(c.folderTabIDs(ids[0]), (QStringList{"c", "x"}));
        QCOMPARE(saved.count(), 2);
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

    void folderOrderLineMovesTheDroppedFolder() {
        RowsTestContext c;
        const QList<QUuid> ids = c.makeFolders({{"A", {}}, {"B", {}}, {"C", {}}});
        FolderOrderInsertionLine(0, &c.folderStore).dropFolder(ids[2]);
        QCOMPARE(c.folderNames(), (QStringList{"C", "A", "B"}));
    }
};

QTEST_MAIN(DropTargetTest)
#include "tst_droptarget.moc"
