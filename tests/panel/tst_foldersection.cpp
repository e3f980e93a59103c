#include "tst_tabrowcontext.h"

#include "dragdrop/DropZoneView.h"
#include "dragdrop/FolderHeaderDragSourceView.h"
#include "panel/FolderInsertionLine.h"
#include "panel/FolderSectionView.h"
#include "panel/InPlaceNameField.h"
#include "panel/SymbolButton.h"
#include "panel/TabRowView.h"
#include "ui/Style.h"

#include <QSignalSpy>
#include <QTest>

class FolderSectionTest : public QObject {
    Q_OBJECT
private slots:
    // Only open tabs get rows; drop lines sit between and around them.
    void rowsAndLines() {
        RowsTestContext c;
        const QUuid id = c.makeFolders({{"Work", {"a", "closed", "b"}}}).first();
        FolderSectionView section(c.folder(id), RowsTestContext::tabs({"a", "b"}), false,
                                  c.context);
        showInPanelWidth(section);
        QCOMPARE(section.rows().size(), 2);
        QCOMPARE(section.lines().size(), 3);
        const QList<QWidget *> order{section.lines()[0], section.rows()[0], section.lines()[1],
                                     section.rows()[1], section.lines()[2]};
        for (int i = 1; i < order.size(); ++i)
            QVERIFY(order[i]->geometry().top() > order[i - 1]->geometry().top());

        c.folderStore.toggleExpanded(id);
        FolderSectionView collapsed(c.folder(id), RowsTestContext::tabs({"a", "b"}), false,
                                    c.context);
        QVERIFY(collapsed.rows().isEmpty());
        QVERIFY(collapsed.lines().isEmpty());
    }

    void rename_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("stored");
        QTest::newRow("commit trims") << "  New name\t " << int(Qt::Key_Return) << "New name";
        QTest::newRow("blank keeps old") << "   " << int(Qt::Key_Return) << "Work";
        QTest::newRow("escape keeps old") << "Other" << int(Qt::Key_Escape) << "Work";
    }
    void rename() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, stored);
        RowsTestContext c;
        const QUuid id = c.makeFolders({{"Work", {"a"}}}).first();
        FolderSectionView section(c.folder(id), RowsTestContext::tabs({"a"}), false, c.context);
        showInPanelWidth(section);
        section.startRenaming();
        QCOMPARE(section.renameField()->text(), QStringLiteral("Work"));
        // A click on the header while renaming does not fold the folder.
        QTest::mouseClick(section.headerDragSource(), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(c.folder(id).isExpanded);
        section.renameField()->setText(typed);
        QTest::keyClick(section.renameField(), Qt::Key(key));
        QVERIFY(!section.isRenaming());
        QCOMPARE(c.folder(id).name, stored);

        QTest::mouseClick(section.headerDragSource(), Qt::LeftButton, {}, QPoint(100, 10));
        QVERIFY(!c.folder(id).isExpanded);
    }

    void editModeDeletesAndTakesNoDrop() {
        RowsTestContext c;
        const QUuid id = c.makeFolders({{"Work", {"a"}}, {"Keep", {}}}).first();
        FolderSectionView section(c.folder(id), RowsTestContext::tabs({"a"}), true, c.context);
        showInPanelWidth(section);
        QVERIFY(section.headerDragSource()->fields().editMode);
        QVERIFY(!section.dropHighlight().zone()->isVisible());
        section.dropTabs({"x"});
        QCOMPARE(c.folderTabIDs(id), QStringList{"a"});
        QTest::mouseClick(section.deleteButton(), Qt::LeftButton);
        QCOMPARE(c.folderNames(), QStringList{"Keep"});
    }

    void dropOfTenTabsOnTheSectionAppendsWithOneSave() {
        RowsTestContext c;
        const QList<QUuid> ids = c.makeFolders({{"Work", {"a"}}, {"Other", {"y"}}});
        FolderSectionView section(c.folder(ids[0]), RowsTestContext::tabs({"a"}), false, c.context);
        showInPanelWidth(section);
        QCOMPARE(section.folderIconColor(), Style::color(Style::Role::Blue, section.palette()));
        hoverZone(section.dropHighlight().zone());
        QVERIFY(section.isDragTargeted());
        QCOMPARE(section.folderIconColor(), QColor(Qt::white));
        QTRY_COMPARE(section.dropHighlight().progress(), 1.0);
        QVERIFY(section.dropHighlight().fillColor().alpha() > 0);

        QSignalSpy saved(&c.folderStore, &FolderStore::saved);
        const QStringList ten{"y", "x", "t2", "t3", "t4", "t5", "t6", "t7", "t8", "t9"};
        dropOnHoveredZone(ten);
        QVERIFY(!section.isDragTargeted());
        QCOMPARE(c.folderTabIDs(ids[0]), QStringList{"a"} + ten);
        QCOMPARE(saved.count(), 1);
        QVERIFY(c.folderTabIDs(ids[1]).isEmpty());
    }

    // The line hands its place among the shown rows to the store (placement rules: store tests).
    void lineDropMovesTabsWithOneSave() {
        RowsTestContext c;
        const QUuid id = c.makeFolders({{"Work", {"a", "X", "b"}}}).first();
        FolderSectionView section(c.folder(id), RowsTestContext::tabs({"a", "b"}), false,
                                  c.context);
        QSignalSpy saved(&c.folderStore, &FolderStore::saved);
        section.lines()[1]->drop({"x", "y"});
        QCOMPARE(c.folderTabIDs(id), (QStringList{"a", "X", "x", "y", "b"}));
        QCOMPARE(saved.count(), 1);
    }
};

QTEST_MAIN(FolderSectionTest)
#include "tst_foldersection.moc"
