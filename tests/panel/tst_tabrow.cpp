#include "tst_tabrowcontext.h"

#include "dragdrop/TabRowDragSourceView.h"
#include "panel/TabRowView.h"
#include "panel/style/Style.h"

#include <QMenu>
#include <QTest>

using Style::Role;

class TabRowTest : public QObject {
    Q_OBJECT

private slots:
    void titleDropsFigmaSuffix_data();
    void titleDropsFigmaSuffix();
    void looks_data();
    void looks();
    void hoverEasesIn();
    void selectionShowsMarksOnEveryRow();
    void plainClickClearsSelectionAndOpens();
    void ctrlClickTogglesSelection();
    void contextMenuItems_data();
    void contextMenuItems();
    void moveToFolderPlacesAlphabetically();
    void removeFromFolder();
    void scrollIdentity();
};

void TabRowTest::titleDropsFigmaSuffix_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    QTest::newRow("en dash") << QString::fromUtf8("Landing page – Figma") << "Landing page";
    QTest::newRow("hyphen, trailing spaces") << "Icons - Figma   "
                                             << "Icons";
    QTest::newRow("no suffix") << "Plain"
                               << "Plain";
}

void TabRowTest::titleDropsFigmaSuffix() {
    QFETCH(QString, title);
    QFETCH(QString, shown);
    RowsTestContext c;
    TabRowView row(RowsTestContext::tab("k", title), c.context);
    auto *source = row.findChild<TabRowDragSourceView *>();
    QVERIFY(source);
    QCOMPARE(source->fields().title, shown);
    QCOMPARE(source->fields().stableID, QStringLiteral("k"));
}

void TabRowTest::looks_data() {
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<bool>("highlighted");
    QTest::addColumn<qreal>("background");
    QTest::addColumn<qreal>("border");
    QTest::addColumn<qreal>("arrow");
    QTest::newRow("resting") << false << false << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("hovered") << true << false << false << 0.10 << 0.0 << 1.0;
    QTest::newRow("selected") << false << true << false << 0.18 << 0.0 << 0.0;
    QTest::newRow("selected and hovered") << true << true << false << 0.18 << 0.0 << 0.0;
    QTest::newRow("highlighted") << false << false << true << 0.18 << 0.55 << 0.0;
    QTest::newRow("highlighted and hovered") << true << false << true << 0.18 << 0.55 << 1.0;
}

void TabRowTest::looks() {
    QFETCH(bool, hovered);
    QFETCH(bool, selected);
    QFETCH(bool, highlighted);
    QFETCH(qreal, background);
    QFETCH(qreal, border);
    QFETCH(qreal, arrow);
    RowsTestContext c;
    TabRowView row(RowsTestContext::tab("k"), c.context);
    if (selected)
        c.selectionStore.toggle("k");
    row.setHovered(hovered);
    row.setKeyboardHighlightedID(highlighted ? "k" : "other");
    QCOMPARE(row.isSelected(), selected);
    QCOMPARE(row.isKeyboardHighlighted(), highlighted);

    const QColor accent = Style::color(Role::Accent, row.palette());
    QCOMPARE(row.backgroundColor().rgb(), accent.rgb());
    QVERIFY(qAbs(row.backgroundColor().alphaF() - accent.alphaF() * background) < 0.01);
    QVERIFY(qAbs(row.borderColor().alphaF() - accent.alphaF() * border) < 0.01);
    QCOMPARE(row.arrowOpacity(), arrow);
}

void TabRowTest::hoverEasesIn() {
    RowsTestContext c;
    TabRowView row(RowsTestContext::tab("k"), c.context);
    row.resize(420, TabRowView::rowHeight);
    row.show();
    QVERIFY(QTest::qWaitForWindowExposed(&row));
    row.setHovered(true);
    QVERIFY(row.arrowOpacity() < 1.0);
    QTRY_COMPARE_WITH_TIMEOUT(row.arrowOpacity(), 1.0, 1000);
    row.setHovered(false);
    QTRY_COMPARE_WITH_TIMEOUT(row.arrowOpacity(), 0.0, 1000);
}

void TabRowTest::selectionShowsMarksOnEveryRow() {
    RowsTestContext c;
    TabRowView a(RowsTestContext::tab("a"), c.context);
    TabRowView b(RowsTestContext::tab("b"), c.context);
    QVERIFY(!a.isSelectionActive());
    c.selectionStore.toggle("b");
    QVERIFY(a.isSelectionActive());
    QVERIFY(b.isSelectionActive());
    QVERIFY(!a.isSelected());
    QVERIFY(b.isSelected());
    c.selectionStore.clear();
    QVERIFY(!a.isSelectionActive());
}

void TabRowTest::plainClickClearsSelectionAndOpens() {
    RowsTestContext c;
    TabRowView row(RowsTestContext::tab("k"), c.context);
    row.resize(420, TabRowView::rowHeight);
    row.show();
    for (const char *id : {"x", "y", "z"})
        c.selectionStore.toggle(id);
    QTest::mouseClick(row.findChild<TabRowDragSourceView *>(), Qt::LeftButton, {}, QPoint(100, 20));
    QVERIFY(c.selectionStore.selectedIDs().isEmpty());
    QCOMPARE(c.workspace.openedUrls.size(), 1);
    QCOMPARE(c.workspace.openedUrls.first().toString(), QStringLiteral("figma:///design/k/File"));
}

void TabRowTest::ctrlClickTogglesSelection() {
    RowsTestContext c;
    TabRowView row(RowsTestContext::tab("k"), c.context);
    row.resize(420, TabRowView::rowHeight);
    row.show();
    auto *source = row.findChild<TabRowDragSourceView *>();
    QTest::mouseClick(source, Qt::LeftButton, Qt::ControlModifier, QPoint(100, 20));
    QCOMPARE(c.selectionStore.selectedIDs(), QSet<QString>{"k"});
    QVERIFY(row.isSelected());
    QTest::mouseClick(source, Qt::LeftButton, Qt::ControlModifier, QPoint(100, 20));
    QVERIFY(c.selectionStore.selectedIDs().isEmpty());
    QVERIFY(c.workspace.openedUrls.isEmpty());
}

void TabRowTest::contextMenuItems_data() {
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<bool>("inFolder");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("submenu");
    QTest::newRow("no folders, ungrouped")
        << QStringList() << false << QStringList() << QStringList();
    QTest::newRow("folders, ungrouped")
        << QStringList{"Work", "Play"} << false << QStringList{"Move to Folder"}
        << QStringList{"Work", "Play"};
    QTest::newRow("folders, filed")
        << QStringList{"Work", "Play"} << true
        << QStringList{"Move to Folder", "Remove from Folder"} << QStringList{"Work", "Play"};
}

void TabRowTest::contextMenuItems() {
    QFETCH(QStringList, folders);
    QFETCH(bool, inFolder);
    QFETCH(QStringList, items);
    QFETCH(QStringList, submenu);
    RowsTestContext c;
    for (const QString &name : folders)
        c.makeFolders(
            {{name, inFolder && name == folders.first() ? QStringList{"k"} : QStringList()}});
    TabRowView row(RowsTestContext::tab("k"), c.context);
    std::unique_ptr<QMenu> menu(row.createContextMenu(nullptr));
    QStringList shown;
    QStringList shownSubmenu;
    for (QAction *action : menu->actions()) {
        shown.append(action->text());
        if (action->menu())
            for (QAction *item : action->menu()->actions())
                shownSubmenu.append(item->text());
    }
    QCOMPARE(shown, items);
    QCOMPARE(shownSubmenu, submenu);
}

void TabRowTest::moveToFolderPlacesAlphabetically() {
    RowsTestContext c;
    c.setOpenTabs({RowsTestContext::tab("b", "beta"), RowsTestContext::tab("d", "Delta"),
                   RowsTestContext::tab("c", "Charlie")});
    const QUuid folder = c.makeFolders({{"A", {"b", "c", "d"}}}).first();
    QCOMPARE(c.folderTabIDs(folder), (QStringList{"b", "c", "d"}));
    // Chosen again for the folder that holds it, the tab goes to its alphabetical place.
    c.folderStore.insertTab("c", folder, 3);
    QCOMPARE(c.folderTabIDs(folder), (QStringList{"b", "d", "c"}));
    TabRowView row(RowsTestContext::tab("c", "Charlie"), c.context);
    std::unique_ptr<QMenu> menu(row.createContextMenu(nullptr));
    menu->actions().first()->menu()->actions().first()->trigger();
    QCOMPARE(c.folderTabIDs(folder), (QStringList{"b", "c", "d"}));
}

void TabRowTest::removeFromFolder() {
    RowsTestContext c;
    const QUuid folder = c.makeFolders({{"A", {"k", "m"}}}).first();
    TabRowView row(RowsTestContext::tab("k"), c.context);
    std::unique_ptr<QMenu> menu(row.createContextMenu(nullptr));
    menu->actions().last()->trigger();
    QCOMPARE(c.folderTabIDs(folder), QStringList{"m"});
    QVERIFY(!c.folderStore.isInFolder("k"));
}

void TabRowTest::scrollIdentity() {
    RowsTestContext c;
    TabRowView row(RowsTestContext::tab("KEY1"), c.context);
    QCOMPARE(row.scrollID(), QStringLiteral("kbtab-KEY1"));
    QCOMPARE(row.sizeHint().height(), 52);
}

QTEST_MAIN(TabRowTest)
#include "tst_tabrow.moc"
