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
    void expandedShowsLinesAroundRows();
    void collapsedShowsOnlyTheHeader();
    void countIsOpenTabs();
    void rename_data();
    void rename();
    void headerClickToggles();
    void headerClickIgnoredWhileRenaming();
    void editModeHeader();
    void sectionDropAppendsInOrder();
    void editModeTakesNoSectionDrop();
    void dragOverLightsTheSection();
    void lineDrop_data();
    void lineDrop();
    void lineIndexCountsClosedIDs();
};

namespace {

TabFolder folderOf(RowsTestContext &c, const QUuid &id) {
    for (const TabFolder &folder : c.folderStore.folders()) {
        if (folder.id == id)
            return folder;
    }
    return {};
}

} // namespace

void FolderSectionTest::expandedShowsLinesAroundRows() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {"a", "b", "c"}}}).first();
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs({"a", "b", "c"}), false,
                              c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QCOMPARE(section.rows().size(), 3);
    QCOMPARE(section.lines().size(), 4);
    // header, line 0, row, line 1, row, line 2, row, line 3 — from top to bottom
    QList<QWidget *> expected;
    for (int i = 0; i < 3; ++i)
        expected << section.lines()[i] << section.rows()[i];
    expected << section.lines()[3];
    int top = 0;
    for (QWidget *child : expected) {
        QVERIFY(child->geometry().top() > top);
        top = child->geometry().top();
    }
    QCOMPARE(section.rows().first()->geometry().left(), 8 + 12);
    QCOMPARE(section.lines().first()->geometry().left(), 8 + 20);
    QCOMPARE(section.lines().last()->geometry().bottom() + 1 + 1, section.height());
    QCOMPARE(section.lines().first()->height(), 12);
}

void FolderSectionTest::collapsedShowsOnlyTheHeader() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {"a", "b"}}}).first();
    c.folderStore.toggleExpanded(id);
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs({"a", "b"}), false, c.context);
    QVERIFY(section.rows().isEmpty());
    QVERIFY(section.lines().isEmpty());
    QCOMPARE(section.sizeHint().height(),
             1 + 11 + QFontMetrics(Style::font(15, QFont::DemiBold)).height() + 11 + 1);
}

void FolderSectionTest::countIsOpenTabs() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {"a", "closed", "b"}}}).first();
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs({"a", "b"}), false, c.context);
    QCOMPARE(section.rows().size(), 2);
    QCOMPARE(section.lines().size(), 3);
}

void FolderSectionTest::rename_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("stored");
    QTest::newRow("commit trims") << "  New name\t " << int(Qt::Key_Return) << "New name";
    QTest::newRow("blank keeps old") << "   " << int(Qt::Key_Return) << "Work";
    QTest::newRow("escape keeps old") << "Other" << int(Qt::Key_Escape) << "Work";
}

void FolderSectionTest::rename() {
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(QString, stored);
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {}}}).first();
    FolderSectionView section(folderOf(c, id), {}, false, c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    section.startRenaming();
    QVERIFY(section.isRenaming());
    QCOMPARE(section.renameField()->text(), QStringLiteral("Work"));
    section.renameField()->setText(typed);
    QTest::keyClick(section.renameField(), Qt::Key(key));
    QVERIFY(!section.isRenaming());
    QCOMPARE(folderOf(c, id).name, stored);
}

void FolderSectionTest::headerClickToggles() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {"a"}}}).first();
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs({"a"}), false, c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QTest::mouseClick(section.headerDragSource(), Qt::LeftButton, {}, QPoint(100, 10));
    QVERIFY(!folderOf(c, id).isExpanded);
}

void FolderSectionTest::headerClickIgnoredWhileRenaming() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {"a"}}}).first();
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs({"a"}), false, c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    section.startRenaming();
    QTest::mouseClick(section.headerDragSource(), Qt::LeftButton, {}, QPoint(4, 4));
    QVERIFY(folderOf(c, id).isExpanded);
}

void FolderSectionTest::editModeHeader() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {"a"}}, {"Keep", {}}}).first();
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs({"a"}), true, c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QVERIFY(section.headerDragSource()->fields().editMode);
    QCOMPARE(section.headerDragSource()->size(), QSize(28, 36));
    QVERIFY(section.deleteButton());
    QCOMPARE(section.deleteButton()->toolTip(), QStringLiteral("Delete Folder"));
    QTest::mouseClick(section.deleteButton(), Qt::LeftButton);
    QCOMPARE(c.folderStore.folders().size(), 1);
    QCOMPARE(c.folderStore.folders().first().name, QStringLiteral("Keep"));
}

void FolderSectionTest::sectionDropAppendsInOrder() {
    RowsTestContext c;
    const QList<QUuid> ids = c.makeFolders({{"Work", {"a"}}, {"Other", {"y"}}});
    FolderSectionView section(folderOf(c, ids[0]), RowsTestContext::tabs({"a"}), false, c.context);
    section.dropTabs({"y", "x"});
    QCOMPARE(c.folderTabIDs(ids[0]), (QStringList{"a", "y", "x"}));
    QVERIFY(c.folderTabIDs(ids[1]).isEmpty());
}

void FolderSectionTest::editModeTakesNoSectionDrop() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {"a"}}}).first();
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs({"a"}), true, c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QVERIFY(!section.dropHighlight().zone()->isVisible());
    section.dropTabs({"x"});
    QCOMPARE(c.folderTabIDs(id), QStringList{"a"});
}

void FolderSectionTest::dragOverLightsTheSection() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {"a"}}}).first();
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs({"a"}), false, c.context);
    section.resize(420, section.sizeHint().height());
    section.show();
    QVERIFY(QTest::qWaitForWindowExposed(&section));
    QCOMPARE(section.folderIconColor(), Style::color(Style::Role::Blue, section.palette()));

    hoverZone(section.dropHighlight().zone());
    QVERIFY(section.isDragTargeted());
    QCOMPARE(section.folderIconColor(), QColor(Qt::white));
    const QColor accent = Style::color(Style::Role::Accent, section.palette());
    QTRY_COMPARE(section.dropHighlight().progress(), 1.0);
    QVERIFY(qAbs(section.dropHighlight().fillColor().alphaF() - accent.alphaF() * 0.14) < 0.01);
    QVERIFY(qAbs(section.dropHighlight().borderColor().alphaF() - accent.alphaF() * 0.5) < 0.01);

    dropOnHoveredZone({"x", "y"});
    QVERIFY(!section.isDragTargeted());
    QCOMPARE(c.folderTabIDs(id), (QStringList{"a", "x", "y"}));
}

void FolderSectionTest::lineDrop_data() {
    QTest::addColumn<QStringList>("tabIDs");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("closed id before the line")
        << QStringList{"a", "X", "b", "c"} << QStringList{"a", "b", "c"} << 1 << QStringList{"d"}
        << QStringList{"a", "X", "d", "b", "c"};
    QTest::newRow("closed id first, line 0")
        << QStringList{"X", "a", "b"} << QStringList{"a", "b"} << 0 << QStringList{"d"}
        << QStringList{"X", "d", "a", "b"};
    QTest::newRow("last line before trailing closed id")
        << QStringList{"a", "b", "X"} << QStringList{"a", "b"} << 2 << QStringList{"d"}
        << QStringList{"a", "b", "d", "X"};
    QTest::newRow("empty folder with closed ids") << QStringList{"X", "Y"} << QStringList() << 0
                                                  << QStringList{"d"} << QStringList{"X", "Y", "d"};
    QTest::newRow("three new tabs keep their order")
        << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"} << 2
        << QStringList{"x", "y", "z"} << QStringList{"a", "b", "x", "y", "z", "c"};
    QTest::newRow("dragged from above the line keep their order")
        << QStringList{"a", "b", "c", "d"} << QStringList{"a", "b", "c", "d"} << 3
        << QStringList{"a", "b"} << QStringList{"c", "a", "b", "d"};
    QTest::newRow("mixed from above and below")
        << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"} << 1 << QStringList{"c", "a"}
        << QStringList{"c", "a", "b"};
    QTest::newRow("row onto the line right above it")
        << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"} << 1 << QStringList{"b"}
        << QStringList{"a", "b", "c"};
    QTest::newRow("down past a closed id")
        << QStringList{"a", "X", "b", "c"} << QStringList{"a", "b", "c"} << 2 << QStringList{"a"}
        << QStringList{"X", "b", "a", "c"};
}

void FolderSectionTest::lineDrop() {
    QFETCH(QStringList, tabIDs);
    QFETCH(QStringList, shown);
    QFETCH(int, line);
    QFETCH(QStringList, dropped);
    QFETCH(QStringList, expected);
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", tabIDs}}).first();
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs(shown), false, c.context);
    section.lines()[line]->drop(dropped);
    QCOMPARE(c.folderTabIDs(id), expected);
}

void FolderSectionTest::lineIndexCountsClosedIDs() {
    RowsTestContext c;
    const QUuid id = c.makeFolders({{"Work", {"X", "a", "Y", "b"}}}).first();
    FolderSectionView section(folderOf(c, id), RowsTestContext::tabs({"a", "b"}), false, c.context);
    QList<int> indexes;
    for (FolderInsertionLine *line : section.lines())
        indexes.append(line->index());
    QCOMPARE(indexes, (QList<int>{1, 3, 4}));
}

QTEST_MAIN(FolderSectionTest)
#include "tst_foldersection.moc"
