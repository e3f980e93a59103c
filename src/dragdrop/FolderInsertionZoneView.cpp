#include "dragdrop/FolderInsertionZoneView.h"

#include "dragdrop/DragState.h"

FolderInsertionZoneView::FolderInsertionZoneView(QWidget *parent)
    : RegisteredZoneView(DragState::shared().folderInsertionZones(), parent) {
}
