#include "dragdrop/InsertionZoneView.h"

#include "dragdrop/DragState.h"

InsertionZoneView::InsertionZoneView(QWidget *parent)
    : RegisteredZoneView(DragState::shared().insertionZones(), parent) {
}
