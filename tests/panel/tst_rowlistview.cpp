#include "support/PanelTestContext.h"
#include "support/TestRowHeights.h"

#include "dragdrop/DragPreviewLabel.h"
#include "panel/ClosedTabRowView.h"
#include "panel/FolderSectionView.h"
#include "panel/InPlaceNameField.h"
#include "panel/ListController.h"
#include "panel/PaintedRows.h"
#include "panel/RowListView.h"
#include "panel/TabRowView.h"
#include "ui/Style.h"

#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow *window, const QPointF &local, const QPointF &global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

namespace {

// "t0", "t1", …
QStringList numbered(int count) {
    QStringList keys;
    for (int i = 0; i < count; ++i)
        keys.append(QStringLiteral("t%1").arg(i));
    return keys;
}

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
    // The centre of the first row of the kind (the `nth` of it), in the popup.
    QPointF kindCentre(RowKind kind, int nth = 0) const {
        const QList<ListRow> &rows = list->rows().rows();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (rows[i].kind == kind && nth-- == 0)
                return list->viewport()->mapTo(&popup, list->rowRect(i).center().toPoint());
        }
        return {};
    }
    // The centre of a button in the first row of the kind, in the popup.
    template <typename RectOf> QPointF buttonCentre(RowKind kind, RectOf rectOf) const {
        const QList<ListRow> &rows = list->rows().rows();
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (rows[i].kind == kind)
                return list->viewport()->mapTo(&popup, rectOf(list->rowRect(i)).center().toPoint());
        }
        return {};
    }
    void click(const QPointF &point, Qt::KeyboardModifiers modifiers = {}) {
        move(point);
        press(point, modifiers);
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
    // Folder A {a b}, then ungrouped c d; a press on b moved by `distance`, then released at `to`.
    void pressMoveRelease_data() {
        QTest::addColumn<qreal>("distance");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("drags");
        QTest::addColumn<bool>("taps");
        QTest::newRow("4 px: a click") << 4.0 << false << false << true;
        QTest::newRow("4.5 px: a drag") << 4.5 << false << true << false;
        QTest::newRow("Ctrl never drags") << 40.0 << true << false << true;
    }
    void pressMoveRelease() {
        QFETCH(qreal, distance);
        QFETCH(bool, ctrl);
        QFETCH(bool, drags);
        QFETCH(bool, taps);
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
        QCOMPARE(c.openedKeys(), taps && !ctrl ? QStringList{"b"} : QStringList());
        QCOMPARE(c.selectionStore.selectedIDs().contains("b"), ctrl);
        QVERIFY(!p.list->isDragging());
    }

    // Folder A {a b}, ungrouped c d; `dragged` dropped on `target` (search "d" for drop rows).
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
        QPointF end;
        if (target == "between a and b")
            end = (p.rowCentre("a") + p.rowCentre("b")) / 2;
        else if (target == "header")
            end = p.kindCentre(RowKind::FolderHeader);
        else if (target == "below d")
            end = p.rowCentre("d") + QPointF(0, 32);
        else if (target == "ungrouped caption")
            end = p.kindCentre(RowKind::UngroupedCaption);
        else if (target == "folder drop row")
            end = p.kindCentre(RowKind::FolderDropRow);
        else
            end = p.kindCentre(RowKind::UngroupedDropRow);
        QSignalSpy saved(&c.folderStore, &FolderStore::saved);
        p.press(start);
        p.move(start + QPointF(0, 5));
        p.move(end);
        QVERIFY(p.list->litLine() || p.list->litZone());
        p.release(end);
        QCOMPARE(saved.size(), 1);
        QCOMPARE(c.folderTabIDs(id), folder);
        QStringList shownUngrouped;
        for (const TabItem &tab : c.folderStore.ungroupedTabs(c.tabManager.tabs()))
            shownUngrouped.append(tab.stableID());
        QCOMPARE(shownUngrouped.mid(0, ungrouped.size()), ungrouped);
    }

    // Clicks on the rows and on the buttons painted in them; Ctrl-clicks select. Folder A {a},
    // ungrouped b, one closed tab, "x" selected.
    void clicks_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<QString>("effect");
        QTest::newRow("plain click on a tab") << "tab b" << false << "opened b, selected none";
        QTest::newRow("Ctrl-click on a tab") << "tab b" << true << "selected b+x";
        QTest::newRow("folder header") << "header" << false << "selected x, collapsed";
        QTest::newRow("edit mode: header outside the trash")
            << "edit header" << false << "selected x";
        QTest::newRow("edit mode: trash") << "trash" << false << "selected x, no folders";
        QTest::newRow("Clear") << "clear" << false << "selected x, nothing closed";
        QTest::newRow("hint card button (no folders)")
            << "hint card" << false << "selected x, no folders, create folder";
    }
    void clicks() {
        QFETCH(QString, target);
        QFETCH(bool, ctrl);
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
        QPointF point;
        if (target == "tab b")
            point = p.rowCentre("b");
        else if (target == "header" || target == "edit header")
            point = p.kindCentre(RowKind::FolderHeader);
        else if (target == "trash")
            point = p.buttonCentre(RowKind::FolderHeader, [](const QRectF &header) {
                return FolderSectionView::headerParts(header, true, 1).trash;
            });
        else if (target == "clear")
            point = p.buttonCentre(RowKind::RecentCaption, &PaintedRows::clearButtonRect);
        else
            point = p.buttonCentre(RowKind::HintCard, &PaintedRows::hintCardButtonRect);
        p.click(point, ctrl ? Qt::ControlModifier : Qt::NoModifier);

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

    // The name field follows its header across rebuilds; Return renames (trimmed; blank keeps
    // the name), Escape gives up.
    void rename_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("name");
        QTest::newRow("trimmed") << " \tClients " << int(Qt::Key_Return) << "Clients";
        QTest::newRow("blank keeps the name") << "  " << int(Qt::Key_Return) << "A";
        QTest::newRow("escape") << "Clients" << int(Qt::Key_Escape) << "A";
    }
    void rename() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, name);
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
        QTest::keyClick(field, Qt::Key(key));
        QTRY_VERIFY(!p.list->renameField());
        QCOMPARE(c.folder(id).name, name);
    }

    // The menu moves a tab to a folder or takes it out; moved into its own folder it takes its
    // alphabetical place.
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

    // Edit mode: folders move by their handle, past 5 px, onto the lines between them.
    void folderDragByTheHandle() {
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a"}));
        c.makeFolders({{"A", {}}, {"B", {}}, {"C", {}}});
        PopupList p(c);
        p.refresh(true);
        ListRow third;
        for (const ListRow &row : p.list->rows().rows())
            if (row.kind == RowKind::FolderHeader && row.index == 2)
                third = row;
        const QPointF handle =
            p.list->viewport()->mapTo(&p.popup, QPoint(third.indent + 20, third.top + 28));
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

    // Hover and cursor follow the last pointer position after a move, a scroll and a rebuild.
    void hoverFollowsThePointer() {
        PanelTestContext c;
        const QStringList keys = numbered(20);
        c.setOpenTabs(PanelTestContext::tabs(keys));
        PopupList p(c);
        const auto hoveredID = [&] {
            const std::optional<qsizetype> row = p.list->hoveredRow();
            const ListRow &shown = p.list->rows().rows()[row.value_or(0)];
            return row && shown.kind == RowKind::TabRow
                       ? p.list->rows().tabs()[shown.item].stableID()
                       : QString();
        };
        p.move(p.rowCentre("t1"));
        QCOMPARE(hoveredID(), QStringLiteral("t1"));
        QCOMPARE(p.list->viewport()->cursor().shape(), Qt::PointingHandCursor);
        p.list->verticalScrollBar()->setValue(64);
        QCOMPARE(hoveredID(), QStringLiteral("t2"));
        c.setOpenTabs(PanelTestContext::tabs(keys.mid(1)));
        p.refresh();
        QCOMPARE(hoveredID(), QStringLiteral("t3"));
        // On the scroll bar no row is hovered.
        const QScrollBar *bar = p.list->verticalScrollBar();
        p.move(bar->mapTo(&p.popup, bar->rect().center()));
        QVERIFY(!p.list->hoveredRow());
        p.move(p.rowCentre("t3"));
        // Hover and selection tints ease; once they have, nothing keeps running.
        QVERIFY(p.list->looks().isEasing());
        QTRY_VERIFY(!p.list->looks().isEasing());
        c.selectionStore.toggle(QStringLiteral("t3"));
        QVERIFY(p.list->looks().isEasing());
        QTRY_VERIFY(!p.list->looks().isEasing());
    }

    // A click on a closed tab's row reopens it; on its "xmark", shown while hovered, forgets it.
    void closedRows() {
        PanelTestContext c;
        c.recentlyClosedStore.recordClosed({PanelTestContext::tab("gone", "Gone - Figma")}, {});
        PopupList p(c);
        const ListRow &row = p.list->rows().rows().last();
        QCOMPARE(row.kind, RowKind::ClosedRow);
        const QRect remove = ClosedTabRowView::removeButtonRect(row.rect(420).toRect());
        const QPointF onRow = p.list->viewport()->mapTo(&p.popup, QPoint(100, row.top + 20));
        const QPointF onRemove = p.list->viewport()->mapTo(&p.popup, remove.center());
        p.move(onRow);
        p.press(onRow);
        p.release(onRow);
        QCOMPARE(c.recentlyClosedStore.recentTabs().size(), 1);
        p.move(onRemove);
        p.press(onRemove);
        p.release(onRemove);
        QVERIFY(c.recentlyClosedStore.recentTabs().isEmpty());
    }

    // Folder headers offer Rename and Delete Folder outside edit mode only; tab rows the moves.
    void contextMenus() {
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a", "b"}));
        c.makeFolders({{"A", {"a"}}});
        PopupList p(c);
        const auto entries = [&](const QPointF &inPopup) {
            const std::optional<RowHit> hit =
                p.list->hitAt(p.list->viewport()->mapFrom(&p.popup, inPopup.toPoint()));
            std::unique_ptr<QMenu> menu(hit ? p.list->controller()->createMenu(hit->row, nullptr)
                                            : nullptr);
            QStringList texts;
            for (const QAction *action : menu ? menu->actions() : QList<QAction *>())
                texts.append(action->isSeparator() ? QStringLiteral("|") : action->text());
            return texts;
        };
        QCOMPARE(entries(p.at(20)), (QStringList{"Rename", "|", "Delete Folder"}));
        QCOMPARE(entries(p.rowCentre("a")), (QStringList{"Move to Folder", "Remove from Folder"}));
        QCOMPARE(entries(p.rowCentre("b")), QStringList{"Move to Folder"});
        p.refresh(true);
        QCOMPARE(entries(p.at(20)), QStringList());
        // The edit-mode trash names itself, as a tool button would.
        const QPoint trash = p.list->viewport()->mapFrom(
            &p.popup, p.buttonCentre(RowKind::FolderHeader, [](const QRectF &header) {
                           return FolderSectionView::headerParts(header, true, 1).trash;
                       }).toPoint());
        QHelpEvent help(QEvent::ToolTip, trash, p.list->viewport()->mapToGlobal(trash));
        QCoreApplication::sendEvent(p.list->viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Delete Folder"));
    }

    // A row's own looks multiply the opacity the list fades it with: tab rows and closed rows
    // painted at full opacity during eased transitions, jumbling outgoing and incoming text.
    // Selected and highlighted rows still differ from resting ones.
    void rowsFadeWithTheList() {
        ThumbnailLoader loader;
        QWidget owner;
        const Thumbnail failed =
            Thumbnail::of(QUrl::fromLocalFile(QStringLiteral("/nonexistent.png")), &loader, &owner);
        QCOMPARE(failed.state(), Thumbnail::State::Failed);
        QImage canvas(420, 60, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        const QImage blank = canvas;
        const QPalette palette;
        TabRowLook look{.title = QStringLiteral("Roadmap"),
                        .thumbnail = failed,
                        .hover = 1,
                        .selectionActive = 0.5};
        QPainter painter(&canvas);
        painter.setOpacity(0);
        TabRowView::paint(painter, QRectF(0, 0, 420, 52), look, palette);
        ClosedTabRowView::paint(painter, QRectF(0, 0, 420, 54), QStringLiteral("Brief"), failed,
                                true, palette);
        painter.end();
        QVERIFY(canvas == blank);

        const QColor resting = TabRowView::backgroundColor({}, palette);
        QVERIFY(TabRowView::backgroundColor({.selected = 1, .isSelected = true}, palette) !=
                resting);
        QVERIFY(TabRowView::backgroundColor({.isKeyboardHighlighted = true}, palette) != resting);
    }

    // Near the bottom edge the list scrolls towards its end, never past it.
    void edgeAutoScroll() {
        PanelTestContext c;
        const QStringList keys = numbered(20);
        c.setOpenTabs(PanelTestContext::tabs(keys));
        PopupList p(c);
        p.press(p.rowCentre("t1"));
        p.move(p.at(400 - 20));
        QCOMPARE(p.list->scrollSpeed(), 2.0);
        QTRY_VERIFY(p.list->verticalScrollBar()->value() > 0);
        p.move(p.at(200));
        QCOMPARE(p.list->scrollSpeed(), 0.0);
        p.release(p.at(200));
    }

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

    void tenSelectedTabsDropWithOneWrite() {
        PanelTestContext c;
        const QStringList keys = numbered(10);
        c.setOpenTabs(PanelTestContext::tabs(keys));
        const QUuid folder = c.makeFolders({{"A", {}}}).first();
        for (const QString &key : keys)
            c.selectionStore.toggle(key);
        PopupList p(c);
        QSignalSpy saved(&c.folderStore, &FolderStore::saved);
        p.press(p.rowCentre("t0"));
        p.move(p.at(20)); // the folder's header
        p.release(p.at(20));
        QCOMPARE(saved.size(), 1);
        QCOMPARE(c.folderTabIDs(folder).size(), 10);
        QVERIFY(c.selectionStore.selectedIDs().isEmpty());
    }
};

QTEST_MAIN(RowListViewTest)
#include "tst_rowlistview.moc"
