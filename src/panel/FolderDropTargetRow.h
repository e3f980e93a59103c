#pragma once

#include "panel/DropTargetRow.h"
#include "stores/TabFolder.h"

class FolderStore;

// A folder at the end of the search results: tabs dropped on it go to the end of the folder.
class FolderDropTargetRow : public DropTargetRow {
    Q_OBJECT
public:
    FolderDropTargetRow(const TabFolder &folder, FolderStore *folderStore,
                        QWidget *parent = nullptr);

    const TabFolder &folder() const { return m_folder; }
    void dropTabs(const QStringList &stableIDs) override;

protected:
    Look look() const override;

private:
    TabFolder m_folder;
    FolderStore *m_folderStore;
};
