#include "dragdrop/DropZoneView.h"

#include "dragdrop/DragState.h"

DropZoneView::DropZoneView(QWidget *parent)
    : RegisteredZoneView(DragState::shared().zones(), parent) {
}
