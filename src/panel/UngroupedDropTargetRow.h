#pragma once

#include "panel/DropTargetRow.h"

class FolderStore;

// "Ungrouped" at the end of the search results: tabs dropped on it leave their folders.
class UngroupedDropTargetRow : public DropTargetRow {
    Q_OBJECT
public:
    explicit UngroupedDropTargetRow(FolderStore *folderStore, QWidget *parent = nullptr);

    void dropTabs(const QStringList &stableIDs) override;

protected:
    Look look() const override;

private:
    FolderStore *m_folderStore;
};
