#pragma once

#include "dragdrop/InsertionMarkerStrip.h"

class FolderInsertionZoneView;
class FolderStore;
class QUuid;

// In folder edit mode, the line above the first folder and below every folder: a folder
// dragged onto it moves to `targetIndex` (0 above the first folder, n after the n-th).
class FolderOrderInsertionLine : public InsertionMarkerStrip {
public:
    FolderOrderInsertionLine(int targetIndex, FolderStore *folderStore, QWidget *parent = nullptr);

    int targetIndex() const { return m_targetIndex; }
    bool isTargeted() const { return m_targeted; }
    FolderInsertionZoneView *zone() const { return m_zone; }
    // Moves the folder with that id here; an id no folder has does nothing.
    void dropFolder(const QUuid &folderID);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int m_targetIndex;
    FolderStore *m_folderStore;
    FolderInsertionZoneView *m_zone;
    bool m_targeted = false;
};
