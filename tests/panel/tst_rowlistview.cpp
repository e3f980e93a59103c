#include "tst_tabrowcontext.h"

#include "dragdrop/DragPreviewLabel.h"
#include "panel/ClosedTabRowView.h"
#include "panel/RowListView.h"
#include "panel/model/PanelDerivation.h"

#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

Q_GUI_EXPORT void qt_handleMouseEvent(QWindow *window, const QPointF &local, const QPointF &global,
                                      Qt::MouseButtons state, Qt::MouseButton button,
                                      QEvent::Type type, Qt::KeyboardModifiers mods, int timestamp);

namespace {

RowHeights heights() {
    RowHeights h;
    h.folderHeader = 40;
    h.editFolderHeader = 56;
    h.ungroupedCaption = 36;
    h.hintCard = 120;
    h.recentCaption = 50;
    h.closedRow = 54;
    return h;
}

// "t0", "t1", …
QStringList numbered(int count) {
    QStringList keys;
    for (int i = 0; i < count; ++i)
        keys.append(QStringLiteral("t%1").arg(i));
    return keys;
}

// The real list view hosted in a Qt::Popup, as in the product, 420 × 400, fed from the stores.
struct PopupList {
    explicit PopupList(RowsTestContext &c)
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
    void refresh(bool editing = false) {
        const QList<TabItem> tabs = context.tabManager.tabs();
        const PanelSnapshot snapshot = PanelDerivation().derive(
            {tabs, false, context.folderStore, context.recentlyClosedStore.recentTabs(), {}});
        list->setRows(ListRows::normal(snapshot, editing, false, heights()));
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

    RowsTestContext &context;
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
        RowsTestContext c;
        c.setOpenTabs(RowsTestContext::tabs({"a", "b", "c", "d"}));
        c.makeFolders({{"A", {"a", "b"}}});
        PopupList p(c);
        QSignalSpy tapped(p.list, &RowListView::tabTapped);
        const QPointF start = p.rowCentre("b");
        p.press(start, ctrl ? Qt::ControlModifier : Qt::NoModifier);
        p.move(start + QPointF(0, distance));
        QCOMPARE(p.list->isDragging(), drags);
        QCOMPARE(bool(p.list->previewLabel()), drags);
        p.release(start + QPointF(0, distance));
        QCOMPARE(tapped.size(), taps && !ctrl ? 1 : 0);
        QCOMPARE(c.selectionStore.selectedIDs().contains("b"), ctrl);
        QVERIFY(!p.list->isDragging());
    }

    // Where a dragged c lands: a line in a folder, the folder as a whole, an ungrouped line.
    void dropsLandWhereLit() {
        RowsTestContext c;
        c.setOpenTabs(RowsTestContext::tabs({"a", "b", "c", "d"}));
        const QUuid folder = c.makeFolders({{"A", {"a", "b"}}}).first();
        PopupList p(c);
        // On the line between a and b.
        const QPointF between = (p.rowCentre("a") + p.rowCentre("b")) / 2;
        p.press(p.rowCentre("c"));
        p.move(between);
        QCOMPARE(p.list->litLine()->kind, DropTarget::Kind::FolderLine);
        QCOMPARE(p.list->litZone()->kind, DropTarget::Kind::FolderSection); // both kinds lit
        p.release(between);
        QCOMPARE(c.folderTabIDs(folder), (QStringList{"a", "c", "b"}));
    }

    // Edit mode: folders move by their handle, past 5 px, onto the lines between them.
    void folderDragByTheHandle() {
        RowsTestContext c;
        c.setOpenTabs(RowsTestContext::tabs({"a"}));
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
        RowsTestContext c;
        const QStringList keys = numbered(20);
        c.setOpenTabs(RowsTestContext::tabs(keys));
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
        c.setOpenTabs(RowsTestContext::tabs(keys.mid(1)));
        p.refresh();
        QCOMPARE(hoveredID(), QStringLiteral("t3"));
    }

    // A click on a closed tab's row reopens it; on its "xmark", shown while hovered, forgets it.
    void closedRows() {
        RowsTestContext c;
        c.recentlyClosedStore.recordClosed({RowsTestContext::tab("gone", "Gone - Figma")}, {});
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
        RowsTestContext c;
        c.setOpenTabs(RowsTestContext::tabs({"a", "b"}));
        c.makeFolders({{"A", {"a"}}});
        PopupList p(c);
        const auto entries = [&](const QPointF &inPopup) {
            std::unique_ptr<QMenu> menu(p.list->createContextMenu(
                p.list->viewport()->mapFrom(&p.popup, inPopup.toPoint())));
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
    }

    void keyboardHighlightIsCentred() {
        RowsTestContext c;
        const QStringList keys = numbered(20);
        c.setOpenTabs(RowsTestContext::tabs(keys));
        PopupList p(c);
        p.list->setKeyboardHighlightedID(QStringLiteral("t10"));
        const ListRow &row = p.list->rows().rows()[*p.list->rows().rowOfTab("t10")];
        QTRY_COMPARE(p.list->verticalScrollBar()->value(), row.top + row.height / 2 - 200);
        p.list->setKeyboardHighlightedID(QStringLiteral("not shown"));
        QCOMPARE(p.list->verticalScrollBar()->value(), row.top + row.height / 2 - 200);
    }

    // Near the bottom edge the list scrolls towards its end, never past it.
    void edgeAutoScroll() {
        RowsTestContext c;
        const QStringList keys = numbered(20);
        c.setOpenTabs(RowsTestContext::tabs(keys));
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
        RowsTestContext c;
        c.setOpenTabs(RowsTestContext::tabs({"a", "b", "c"}));
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
        RowsTestContext c;
        c.setOpenTabs(RowsTestContext::tabs({"a", "b"}));
        PopupList p(c);
        p.press(p.rowCentre("a"));
        p.move(p.rowCentre("a") + QPointF(0, 10));
        QVERIFY(p.list->isDragging());
        p.popup.hide();
        QVERIFY(!p.list->isDragging());
        QTRY_VERIFY(!p.list->previewLabel());
        c.setOpenTabs(RowsTestContext::tabs({"a", "b", "x"}));
        p.refresh();
        p.popup.show();
        QVERIFY(p.list->rows().rowOfTab("x"));
        QVERIFY(!p.list->litZone());
    }

    // Rows rebuilt between press and release move the pressed row away from the resting
    // pointer: the click is still the pressed row's.
    void clickAcrossARebuild() {
        RowsTestContext c;
        c.setOpenTabs(RowsTestContext::tabs({"a", "b"}));
        PopupList p(c);
        QSignalSpy tapped(p.list, &RowListView::tabTapped);
        const QPointF point = p.rowCentre("b");
        p.press(point);
        c.setOpenTabs(RowsTestContext::tabs({"n", "a", "b"}));
        p.refresh();
        QVERIFY(p.rowCentre("b") != point);
        p.release(point);
        QCOMPARE(tapped.size(), 1);
        QCOMPARE(tapped.first().first().value<TabItem>().stableID(), QStringLiteral("b"));
    }

    void tenSelectedTabsDropWithOneWrite() {
        RowsTestContext c;
        const QStringList keys = numbered(10);
        c.setOpenTabs(RowsTestContext::tabs(keys));
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
