#include "dragdrop/TabRowDragSourceView.h"

#include "dragdrop/DragState.h"
#include "dragdrop/SafeCall.h"

TabRowDragSourceView::TabRowDragSourceView(QWidget *parent)
    : DragSourceView(dragThreshold, parent) {
}

void TabRowDragSourceView::setFields(Fields fields) {
    fields_ = std::move(fields);
}

bool TabRowDragSourceView::acceptsDrag(Qt::KeyboardModifiers pressModifiers) const {
    // A Ctrl-press toggles selection and never becomes a drag.
    return !fields_.stableID.isEmpty() && !(pressModifiers & Qt::ControlModifier);
}

QString TabRowDragSourceView::beginDrag() {
    QStringList carried = fields_.getSelectedIDs ? fields_.getSelectedIDs() : QStringList();
    if (!carried.contains(fields_.stableID))
        carried = {fields_.stableID};
    DragState::shared().beginTabDrag(fields_.stableID, carried);
    return carried.size() < 2 ? fields_.title : QStringLiteral("%1 files").arg(carried.size());
}

void TabRowDragSourceView::updateDragHover(const QPointF &globalPoint) {
    DragState::shared().updateHover(globalPoint);
}

void TabRowDragSourceView::finishDrag() {
    DragState::shared().endDrag();
    callSafely(fields_.clearSelection);
}

void TabRowDragSourceView::tap(Qt::KeyboardModifiers pressModifiers) {
    callSafely(pressModifiers & Qt::ControlModifier ? fields_.onCommandTap : fields_.onTap);
}

void TabRowDragSourceView::reportHover(bool hovered) {
    callSafely(fields_.onHover, hovered);
}
