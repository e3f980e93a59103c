#include "dragdrop/FolderHeaderDragSourceView.h"

#include "dragdrop/DragState.h"
#include "dragdrop/SafeCall.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPointer>

FolderHeaderDragSourceView::FolderHeaderDragSourceView(QWidget *parent)
    : DragSourceView(dragThreshold, parent) {
}

void FolderHeaderDragSourceView::setFields(Fields fields) {
    fields_ = std::move(fields);
    refreshHoverCursor();
}

bool FolderHeaderDragSourceView::acceptsDrag(Qt::KeyboardModifiers) const {
    return fields_.editMode && !fields_.folderID.isNull();
}

QString FolderHeaderDragSourceView::beginDrag() {
    DragState::shared().beginFolderDrag(fields_.folderID);
    return QStringLiteral("\U0001F4C1 ") + fields_.folderName;
}

void FolderHeaderDragSourceView::updateDragHover(const QPointF &globalPoint) {
    DragState::shared().updateFolderHover(globalPoint);
}

void FolderHeaderDragSourceView::finishDrag() {
    DragState::shared().endFolderDrag();
}

void FolderHeaderDragSourceView::tap(Qt::KeyboardModifiers) {
    callSafely(fields_.onTap);
}

void FolderHeaderDragSourceView::reportHover(bool hovered) {
    callSafely(fields_.onHover, hovered);
}

Qt::CursorShape FolderHeaderDragSourceView::hoverCursor() const {
    return fields_.editMode ? Qt::OpenHandCursor : Qt::PointingHandCursor;
}

void FolderHeaderDragSourceView::contextMenuEvent(QContextMenuEvent *event) {
    // The edit-mode handle has no menu, and the header below must not offer one either.
    event->accept();
    if (fields_.editMode)
        return;
    makeContextMenu()->popup(event->globalPos());
}

QMenu *FolderHeaderDragSourceView::makeContextMenu() {
    // Not a child: choosing "Delete Folder" may delete this header while the menu is still busy.
    auto *menu = new QMenu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QPointer<FolderHeaderDragSourceView> self(this);
    menu->addAction(tr("Rename"), menu, [self] {
        if (self)
            callSafely(self->fields_.onRename);
    });
    menu->addSeparator();
    menu->addAction(tr("Delete Folder"), menu, [self] {
        if (self)
            callSafely(self->fields_.onDelete);
    });
    return menu;
}
