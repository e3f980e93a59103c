#include "support/PanelTestContext.h"
#include "support/TestTabs.h"

#include "dragdrop/DragPreviewLabel.h"
#include "panel/ClosedTabRowView.h"
#include "panel/FolderSectionView.h"
#include "panel/InPlaceNameField.h"
#include "panel/ListController.h"
#include "panel/PaintedRows.h"
#include "panel/RowListView.h"
#include "panel/TabRowView.h"

#include <QHash>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow *window, const QPointF &local, const QPointF &global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

namespace {

// The real list view hosted in a Qt::Popup, as in the product, 420 × 400, fed from the stores.
struct PopupList {
    explicit PopupList(PanelTestContext &c)
        : context(c) {
        popup.setWindowFlags(Qt::Popup);
        auto *layout = new QVBoxLayout(&popup);
        layout->setContentsMargins(0, 0, 0, 0);
        list = new RowListView(c.context, &popup);
        list->setHeightCap(400);
        layout->addWidget(list);
        popup.resize(420, 400);
        refresh();
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
    }
    void refresh(bool editing = false, const QString &query = {}) {
        list->setRows(context.rows(editing, query));
    }
    // The centre of the first row of the kind, or of a button painted in it, in the popup.
    template <typename RectOf> QPointF centreOf(RowKind kind, RectOf rectOf) const {
        const QList<ListRow> &rows = list->rows().rows();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (rows[i].kind == kind)
                return list->viewport()->mapTo(&popup, rectOf(list->rowRect(i)).center().toPoint());
        }
        return {};
    }
    QPointF centreOf(RowKind kind) const {
        return centreOf(kind, [](const QRectF &row) { return row; });
    }
    // Where the tables below aim, by name.
    QPointF pointOf(const QString &target) const {
        if (target == "between a and b")
            return (rowCentre("a") + rowCentre("b")) / 2;
        if (target == "below d")
            return rowCentre("d") + QPointF(0, 32);
        if (target == "trash")
            return centreOf(RowKind::FolderHeader, [](const QRectF &header) {
                return FolderSectionView::headerParts(header, true, 1).trash;
            });
        if (target == "clear")
            return centreOf(RowKind::RecentCaption, &PaintedRows::clearButtonRect);
        if (target == "hint card")
            return centreOf(RowKind::HintCard, &PaintedRows::hintCardButtonRect);
        static const QHash<QString, RowKind> kinds{
            {"header", RowKind::FolderHeader},
            {"ungrouped caption", RowKind::UngroupedCaption},
            {"folder drop row", RowKind::FolderDropRow},
            {"ungrouped drop row", RowKind::UngroupedDropRow}};
        return centreOf(kinds.value(target));
    }
    void click(const QPointF &point) {
        move(point);
        press(point);
        release(point);
    }
    // The centre of the tab row of `stableID`, in the popup.
    QPointF rowCentre(const QString &stableID) const {
        const ListRow &row = list->rows().rows()[*list->rows().rowOfTab(stableID)];
        return list->viewport()->mapTo(&popup, row.rect(420).center().toPoint());
    }
    QPointF at(qreal y) const { return list->viewport()->mapTo(&popup, QPoint(200, int(y))); }

    void send(const QPointF &point, Qt::MouseButton button, QEvent::Type type,
              Qt::KeyboardModifiers modifiers = {}) {
        static int timestamp = 0;
        timestamp += 1000;
        if (type == QEvent::MouseButtonPress)
            buttons |= button;
        if (type == QEvent::MouseButtonRelease)
            buttons &= ~button;
        QWindow *window = popup.windowHandle();
        qt_handleMouseEvent(window, point, window->mapToGlobal(point), buttons, button, type,
                            modifiers, timestamp);
        QCoreApplication::processEvents();
    }
    void press(const QPointF &p, Qt::KeyboardModifiers m = {}) {
        send(p, Qt::LeftButton, QEvent::MouseButtonPress, m);
    }
    void move(const QPointF &p) { send(p, Qt::NoButton, QEvent::MouseMove); }
    void release(const QPointF &p) { send(p, Qt::LeftButton, QEvent::MouseButtonRelease); }

    PanelTestContext &context;
    QWidget popup;
    RowListView *list;
    Qt::MouseButtons buttons;
};

} // namespace

class RowListViewTest : public QObject {
    Q_OBJECT
private slots:
    // A click with a slight tremble started a drag instead of opening the file, or a Ctrl-click
    // (a selection) dragged. Folder A {a b}, then ungrouped c d; a press on b moved, released.
    void pressMoveRelease() {
        const struct {
            qreal distance;
            bool ctrl;
            bool drags;
        } cases[] = {{4.0, false, false}, {4.5, false, true}, {40.0, true, false}};
        for (const auto &[distance, ctrl, drags] : cases) {
            PanelTestContext c;
            c.setOpenTabs(PanelTestContext::tabs({"a", "b", "c", "d"}));
            c.makeFolders({{"A", {"a", "b"}}});
            PopupList p(c);
            const QPointF start = p.rowCentre("b");
            p.press(start, ctrl ? Qt::ControlModifier : Qt::NoModifier);
            p.move(start + QPointF(0, distance));
            QCOMPARE(p.list->isDragging(), drags);
            QCOMPARE(bool(p.list->previewLabel()), drags);
            p.release(start + QPointF(0, distance));
            QCOMPARE(c.openedKeys(), drags || ctrl ? QStringList() : QStringList{"b"});
            QCOMPARE(c.selectionStore.selectedIDs().contains("b"), ctrl);
            QVERIFY(!p.list->isDragging());
        }
    }

    // A drop landed elsewhere than the line or zone lit under it, or wrote more than once.
    // Folder A {a b}, ungrouped c d; `dragged` dropped on `target` (searched for drop rows).
    void dropsLandWhereLit_data() {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("folder");
        QTest::addColumn<QStringList>("ungrouped");
        QTest::newRow("line in a folder: line and folder lit, the line wins")
            << "c"
            << "between a and b" << QStringList{"a", "c", "b"} << QStringList{"d"};
        QTest::newRow("folder header: appended")
            << "c"
            << "header" << QStringList{"a", "b", "c"} << QStringList{"d"};
        QTest::newRow("ungrouped line below d")
            << "c"
            << "below d" << QStringList{"a", "b"} << QStringList{"d", "c"};
        QTest::newRow("ungrouped caption: out of the folder, the first line is near")
            << "a"
            << "ungrouped caption" << QStringList{"b"} << QStringList{"a", "c", "d"};
        QTest::newRow("search: folder drop row")
            << "d"
            << "folder drop row" << QStringList{"a", "b", "d"} << QStringList{"c"};
        QTest::newRow("search: ungrouped drop row")
            << "a"
            << "ungrouped drop row" << QStringList{"b"} << QStringList{"c", "d", "a"};
    }
    void dropsLandWhereLit() {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(QStringList, folder);
        QFETCH(QStringList, ungrouped);
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a", "b", "c", "d"}));
        const QUuid id = c.makeFolders({{"A", {"a", "b"}}}).first();
        c.folderStore.placeInUngrouped({"c", "d"}, {}, c.tabManager.tabs());
        PopupList p(c);
        const bool searching = target.endsWith(QStringLiteral("drop row"));
        if (searching)
            p.refresh(false, dragged);
        const QPointF start = p.rowCentre(dragged);
        const QPointF end = p.pointOf(target);
        QSignalSpy saved(&c.folderStore, &FolderStore::saved);
        p.press(start);
        p.move(start + QPointF(0, 5));
        p.move(end);
        QVERIFY(p.list->litLine() || p.list->litZone());
        p.release(end);
        QCOMPARE(saved.size(), 1);
        QCOMPARE(c.folderTabIDs(id), folder);
        QCOMPARE(
            stableIDsOf(c.folderStore.ungroupedTabs(c.tabManager.tabs())).mid(0, ungrouped.size()),
            ungrouped);
    }

    // A click on a row or on a button painted in it did something else: a folder deleted by a
    // click beside its trash, a selection dropped. Folder A {a}, ungrouped b, one closed tab,
    // "x" selected.
    void clicks_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("effect");
        QTest::newRow("folder header") << "header"
                                       << "selected x, collapsed";
        QTest::newRow("edit mode: header outside the trash") << "edit header"
                                                             << "selected x";
        QTest::newRow("edit mode: trash") << "trash"
                                          << "selected x, no folders";
        QTest::newRow("Clear") << "clear"
                               << "selected x, nothing closed";
        QTest::newRow("hint card button (no folders)") << "hint card"
                                                       << "selected x, no folders, create folder";
    }
    void clicks() {
        QFETCH(QString, target);
        QFETCH(QString, effect);
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a", "b"}));
        c.recentlyClosedStore.recordClosed({PanelTestContext::tab("gone")}, {});
        c.selectionStore.toggle(QStringLiteral("x"));
        if (target != "hint card")
            c.makeFolders({{"A", {"a"}}});
        PopupList p(c);
        p.refresh(target == "edit header" || target == "trash");
        QSignalSpy create(p.list->controller(), &ListController::createFolderRequested);
        p.click(p.pointOf(target == "edit header" ? QStringLiteral("header") : target));

        QStringList seen;
        if (!c.openedKeys().isEmpty())
            seen.append("opened " + c.openedKeys().join('+'));
        QStringList selected = c.selectionStore.selectedIDs().values();
        selected.sort();
        seen.append("selected " +
                    (selected.isEmpty() ? QStringLiteral("none") : selected.join('+')));
        const QList<TabFolder> folders = c.folderStore.folders();
        if (!folders.isEmpty() && !folders.first().isExpanded)
            seen.append("collapsed");
        if (folders.isEmpty())
            seen.append("no folders");
        if (c.recentlyClosedStore.recentTabs().isEmpty())
            seen.append("nothing closed");
        if (!create.isEmpty())
            seen.append("create folder");
        QCOMPARE(seen.join(", "), effect);
    }

    // A rename typed while new rows arrived went to another folder or was lost; Return renames
    // (trimmed; blank keeps the name), Escape gives up.
    void rename() {
        const struct {
            const char *typed;
            Qt::Key key;
            const char *name;
        } cases[] = {{" \tClients ", Qt::Key_Return, "Clients"},
                     {"  ", Qt::Key_Return, "A"},
                     {"Clients", Qt::Key_Escape, "A"}};
        for (const auto &[typed, key, name] : cases) {
            PanelTestContext c;
            c.setOpenTabs(PanelTestContext::tabs({"a", "b"}));
            const QUuid id = c.makeFolders({{"A", {"a"}}}).first();
            PopupList p(c);
            p.list->startRenaming(id);
            InPlaceNameField *field = p.list->renameField();
            QVERIFY(field && field->isVisible());
            QTest::keyClicks(field, typed);
            // New rows arrive while typing: a tab opened above, the same folder still shown.
            c.setOpenTabs(PanelTestContext::tabs({"a", "b", "n"}));
            c.makeFolders({{"Before", {"n"}}});
            c.folderStore.moveFolder(1, 0);
            p.refresh();
            QCOMPARE(p.list->renameField(), field);
            QVERIFY(field->geometry().intersects(
                p.list->rowRect(*p.list->rows().rowOfTab("a")).toRect().translated(0, -40)));
            QTest::keyClick(field, key);
            QTRY_VERIFY(!p.list->renameField());
            QCOMPARE(c.folder(id).name, QString::fromUtf8(name));
        }
    }

    // The menu filed a tab in the wrong place or named its folder with a mnemonic: moved into a
    // folder it takes its alphabetical place, and "Remove from Folder" takes it out.
    void contextMenuMoves() {
        PanelTestContext c;
        c.setOpenTabs({PanelTestContext::tab("b", "beta"), PanelTestContext::tab("d", "Delta"),
                       PanelTestContext::tab("c", "Charlie"), PanelTestContext::tab("e")});
        const QUuid folder = c.makeFolders({{"A & B", {"b", "d", "c"}}}).first();
        ListController controller(c.context);
        controller.setRows(c.rows());
        const ListRows &rows = controller.rows();
        std::unique_ptr<QMenu> menu(
            controller.createMenu(rows.key(rows.rows()[*rows.rowOfTab("c")]), nullptr));
        QAction *move = menu->actions().first()->menu()->actions().first();
        QCOMPARE(move->text(), QStringLiteral("A && B"));
        move->trigger();
        QCOMPARE(c.folderTabIDs(folder), (QStringList{"b", "c", "d"}));
        menu->actions().last()->trigger(); // "Remove from Folder"
        QCOMPARE(c.folderTabIDs(folder), (QStringList{"b", "d"}));
    }

    // A folder dragged by its handle in edit mode landed elsewhere than the line lit, or a
    // press that barely moved started a drag.
    void folderDragByTheHandle() {
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a"}));
        c.makeFolders({{"A", {}}, {"B", {}}, {"C", {}}});
        PopupList p(c);
        p.refresh(true);
        const ListRows &rows = p.list->rows();
        const qsizetype third = *rows.rowWithKey(
            {.kind = RowKind::FolderHeader, .folderID = c.folderStore.folders()[2].id});
        const QPointF handle = p.list->viewport()->mapTo(
            &p.popup, FolderSectionView::headerParts(p.list->rowRect(third), true, 0)
                          .leading.center()
                          .toPoint());
        p.press(handle);
        p.move(handle + QPointF(0, 5));
        QVERIFY(!p.list->isDragging());
        p.move(handle + QPointF(0, 5.5));
        QVERIFY(p.list->isDragging());
        QVERIFY(p.list->previewLabel()->text().endsWith(QStringLiteral(" C")));
        p.move(p.at(6)); // the line above the first folder
        QCOMPARE(p.list->litLine()->kind, DropTarget::Kind::FolderOrderLine);
        p.release(p.at(6));
        QCOMPARE(c.folderNames(), (QStringList{"C", "A", "B"}));
    }

    // A click on a closed tab's "xmark" reopened it instead of forgetting it, or a click on the
    // row forgot it.
    void closedRows() {
        PanelTestContext c;
        c.recentlyClosedStore.recordClosed({PanelTestContext::tab("gone", "Gone - Figma")}, {});
        PopupList p(c);
        const ListRow &row = p.list->rows().rows().last();
        QCOMPARE(row.kind, RowKind::ClosedRow);
        const QRect remove = ClosedTabRowView::removeButtonRect(row.rect(420).toRect());
        const QPointF onRow = p.list->viewport()->mapTo(&p.popup, QPoint(100, row.top + 20));
        const QPointF onRemove = p.list->viewport()->mapTo(&p.popup, remove.center());
        p.click(onRow);
        QCOMPARE(c.openedKeys(), QStringList{"gone"});
        QCOMPARE(c.recentlyClosedStore.recentTabs().size(), 1);
        p.click(onRemove);
        QVERIFY(c.recentlyClosedStore.recentTabs().isEmpty());
    }

    // Selected or keyboard-highlighted rows looked like resting ones: nobody could see what a
    // drag or Return would take.
    void selectedAndHighlightedRowsStandOut() {
        const QPalette palette;
        const QColor resting = TabRowView::backgroundColor({}, palette);
        QVERIFY(TabRowView::backgroundColor({.selected = 1, .isSelected = true}, palette) !=
                resting);
        QVERIFY(TabRowView::backgroundColor({.isKeyboardHighlighted = true}, palette) != resting);
    }

    // A tab could not be dragged to a folder out of sight: near the bottom edge the list must
    // scroll, and stop once the pointer leaves the edge.
    void edgeAutoScroll() {
        PanelTestContext c;
        QStringList keys;
        for (int i = 0; i < 20; ++i)
            keys.append(QStringLiteral("t%1").arg(i));
        c.setOpenTabs(PanelTestContext::tabs(keys));
        PopupList p(c);
        p.press(p.rowCentre("t1"));
        p.move(p.at(400 - 20));
        QTRY_VERIFY(p.list->verticalScrollBar()->value() > 0);
        p.move(p.at(200));
        QCOMPARE(p.list->scrollSpeed(), 0.0);
        p.release(p.at(200));
    }

    // A right click mid-drag ended the drag or opened a menu, and the left release then filed
    // nothing.
    void secondButtonMidDragIsIgnored() {
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a", "b", "c"}));
        const QUuid folder = c.makeFolders({{"A", {"a"}}}).first();
        PopupList p(c);
        p.press(p.rowCentre("c"));
        p.move(p.rowCentre("c") + QPointF(0, -10));
        QVERIFY(p.list->isDragging());
        p.send(p.rowCentre("c"), Qt::RightButton, QEvent::MouseButtonPress);
        p.send(p.rowCentre("c"), Qt::RightButton, QEvent::MouseButtonRelease);
        QVERIFY(p.list->isDragging());
        const QPointF onA = p.rowCentre("a");
        p.move(onA);
        p.release(onA);
        QVERIFY(!p.list->isDragging());
        QVERIFY(!p.list->previewLabel());
        QCOMPARE(c.folderTabIDs(folder), (QStringList{"a", "c"}));
    }

    // The panel closed mid-drag left the drag (and its label) running into the next opening,
    // over stale rows.
    void closingMidDragEndsItAndNewDataShowsOnReopen() {
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a", "b"}));
        PopupList p(c);
        p.press(p.rowCentre("a"));
        p.move(p.rowCentre("a") + QPointF(0, 10));
        QVERIFY(p.list->isDragging());
        QVERIFY(p.list->looks().isEasing()); // the section and the line light up
        p.popup.hide();
        QVERIFY(!p.list->isDragging());
        QVERIFY(!p.list->looks().isEasing()); // and go out at once, unseen
        QTRY_VERIFY(!p.list->previewLabel());
        c.setOpenTabs(PanelTestContext::tabs({"a", "b", "x"}));
        p.refresh();
        p.popup.show();
        QVERIFY(p.list->rows().rowOfTab("x"));
        QVERIFY(!p.list->litZone());
    }

    // Rows rebuilt between press and release move the pressed row away from the resting
    // pointer: the click is still the pressed row's.
    void clickAcrossARebuild() {
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a", "b"}));
        PopupList p(c);
        const QPointF point = p.rowCentre("b");
        p.press(point);
        c.setOpenTabs(PanelTestContext::tabs({"n", "a", "b"}));
        p.refresh();
        QVERIFY(p.rowCentre("b") != point);
        p.release(point);
        QCOMPARE(c.openedKeys(), QStringList{"b"});
    }
};

QTEST_MAIN(RowListViewTest)
#include "tst_rowlistview.moc"
