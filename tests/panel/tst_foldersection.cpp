#include "tst_tabrowcontext.h"

#include "dragdrop/DropZoneView.h"
#include "dragdrop/FolderHeaderDragSourceView.h"
#include "panel/FolderInsertionLine.h"
#include "panel/FolderSectionView.h"
#include "panel/InPlaceNameField.h"
#include "panel/SymbolButton.h"
#include "panel/TabRowView.h"
#include "panel/style/Style.h"

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

    void dropOnTheSectionAppendsInOrder() {
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

        dropOnHoveredZone({"y", "x"});
        QVERIFY(!section.isDragTargeted());
        QCOMPARE(c.folderTabIDs(ids[0]), (QStringList{"a", "y", "x"}));
        QVERIFY(c.folderTabIDs(ids[1]).isEmpty());
    }

    // Lines count positions among the shown rows; the drop lands at the matching place in the
    // folder's ids, which may hold closed tabs.
    void lineDrop_data() {
        QTest::addColumn<QStringList>("tabIDs");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("closed id before the line")
            << QStringList{"a", "X", "b", "c"} << QStringList{"a", "b", "c"} << 1
            << QStringList{"d"} << QStringList{"a", "X", "d", "b", "c"};
        QTest::newRow("closed id first, line 0")
            << QStringList{"X", "a", "b"} << QStringList{"a", "b"} << 0 << QStringList{"d"}
            << QStringList{"X", "d", "a", "b"};
        QTest::newRow("last line before trailing closed id")
            << QStringList{"a", "b", "X"} << QStringList{"a", "b"} << 2 << QStringList{"d"}
            << QStringList{"a", "b", "d", "X"};
        QTest::newRow("empty folder with closed ids")
            << QStringList{"X", "Y"} << QStringList() << 0 << QStringList{"d"}
            << QStringList{"X", "Y", "d"};
        QTest::newRow("three new tabs keep their order")
            << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"} << 2
            << QStringList{"x", "y", "z"} << QStringList{"a", "b", "x", "y", "z", "c"};
        QTest::newRow("dragged from above the line keep their order")
            << QStringList{"a", "b", "c", "d"} << QStringList{"a", "b", "c", "d"} << 3
            << QStringList{"a", "b"} << QStringList{"c", "a", "b", "d"};
        QTest::newRow("mixed from above and below")
            << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"} << 1
            << QStringList{"c", "a"} << QStringList{"c", "a", "b"};
        QTest::newRow("row onto the line right above it")
            << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"} << 1 << QStringList{"b"}
            << QStringList{"a", "b", "c"};
        QTest::newRow("down past a closed id")
            << QStringList{"a", "X", "b", "c"} << QStringList{"a", "b", "c"} << 2
            << QStringList{"a"} << QStringList{"X", "b", "a", "c"};
    }
    void lineDrop() {
        QFETCH(QStringList, tabIDs);
        QFETCH(QStringList, shown);
        QFETCH(int, line);
        QFETCH(QStringList, dropped);
        QFETCH(QStringList, expected);
        RowsTestContext c;
        const QUuid id = c.makeFolders({{"Work", tabIDs}}).first();
        FolderSectionView section(c.folder(id), RowsTestContext::tabs(shown), false, c.context);
        section.lines()[line]->drop(dropped);
        QCOMPARE(c.folderTabIDs(id), expected);
    }
};

QTEST_MAIN(FolderSectionTest)
#include "tst_foldersection.moc"
