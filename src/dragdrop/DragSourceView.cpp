#include "dragdrop/DragSourceView.h"

#include "panel/model/DragGeometry.h"
#include "dragdrop/DragState.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

DragSourceView::DragSourceView(qreal dragThreshold, QWidget *parent)
    : QWidget(parent)
    , dragThreshold_(dragThreshold) {
    connect(&DragState::shared(), &DragState::hoverRepairRequested, this,
            &DragSourceView::repairHover);
}

DragSourceView::~DragSourceView() {
    cancelDrag();
}

void DragSourceView::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressLocation_ = event->scenePosition();
    pressModifiers_ = event->modifiers();
    dragStarted_ = false;
}

void DragSourceView::mouseMoveEvent(QMouseEvent *event) {
    if (!(event->buttons() & Qt::LeftButton) || !acceptsDrag(pressModifiers_))
        return;
    if (!dragStarted_) {
        if (!pressLocation_ || !DragGeometry::exceedsThreshold(
                                   *pressLocation_, event->scenePosition(), dragThreshold_))
            return;
        dragStarted_ = true;
        dragLabel_ = beginDrag();
    }
    const QPointF point = event->globalPosition();
    DragState &state = DragState::shared();
    state.updatePreview(dragLabel_, point);
    updateDragHover(point);
    state.updateAutoScroll(point);
}

void DragSourceView::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool wasDrag = dragStarted_;
    // No press on record: its drag was cancelled, so the release is no click either.
    const bool wasPressed = pressLocation_.has_value();
    const Qt::KeyboardModifiers modifiers = pressModifiers_;
    // Reset first: the callbacks below may rebuild the row that owns this view.
    dragStarted_ = false;
    dragLabel_.clear();
    pressLocation_.reset();
    pressModifiers_ = {};
    if (wasDrag)
        finishDrag();
    else if (wasPressed)
        tap(modifiers);
}

void DragSourceView::enterEvent(QEnterEvent *) {
    setHovered(true);
}

void DragSourceView::leaveEvent(QEvent *) {
    setHovered(false);
}

// Hidden or destroyed mid-drag (the panel closed by the shortcut), the view never gets the
// release: end the drag here, without a drop, so the label and highlights do not linger.
void DragSourceView::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    cancelDrag();
}

void DragSourceView::cancelDrag() {
    if (!dragStarted_)
        return;
    dragStarted_ = false;
    dragLabel_.clear();
    pressLocation_.reset();
    DragState::shared().cancelDrag();
}

void DragSourceView::setHovered(bool hovered) {
    // Qt's own enter and leave events and the repair may both notice the same change.
    if (hovered == hovered_)
        return;
    hovered_ = hovered;
    setCursor(hovered ? hoverCursor() : Qt::ArrowCursor);
    reportHover(hovered);
}

void DragSourceView::refreshHoverCursor() {
    if (hovered_)
        setCursor(hoverCursor());
}

bool DragSourceView::pointerIsOver() const {
    return isVisible() && QApplication::widgetAt(QCursor::pos()) == this;
}

void DragSourceView::repairHover() {
    const bool over = pointerIsOver();
    if (hovered_ && !over) {
        setHovered(false);
    } else if (!hovered_ && over && QGuiApplication::mouseButtons() == Qt::NoButton &&
               !DragState::shared().isDragging()) {
        setHovered(true);
    }
}
