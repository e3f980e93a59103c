#include "panel/FolderOrderInsertionLine.h"

#include "dragdrop/FolderInsertionZoneView.h"
#include "stores/FolderStore.h"

FolderOrderInsertionLine::FolderOrderInsertionLine(int targetIndex, FolderStore *folderStore,
                                                   QWidget *parent)
    : InsertionMarkerStrip(parent)
    , m_targetIndex(targetIndex)
    , m_folderStore(folderStore)
    , m_zone(new FolderInsertionZoneView(this)) {
    m_zone->setCallbacks([this](const QUuid &folderID) { dropFolder(folderID); },
                         [this](bool on) {
                             m_targeted = on;
                             setMarkerShown(on);
                         });
}

void FolderOrderInsertionLine::dropFolder(const QUuid &folderID) {
    if (m_folderStore)
        m_folderStore->moveFolder(folderID, m_targetIndex);
}

void FolderOrderInsertionLine::resizeEvent(QResizeEvent *event) {
    InsertionMarkerStrip::resizeEvent(event);
    m_zone->setGeometry(rect());
}
