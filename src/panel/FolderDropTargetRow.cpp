#include "panel/FolderDropTargetRow.h"

#include "stores/FolderStore.h"
#include "ui/Style.h"

FolderDropTargetRow::FolderDropTargetRow(const TabFolder &folder, FolderStore *folderStore,
                                         QWidget *parent)
    : DropTargetRow(parent)
    , m_folder(folder)
    , m_folderStore(folderStore) {
}

void FolderDropTargetRow::dropTabs(const QStringList &stableIDs) {
    if (m_folderStore)
        m_folderStore->appendTabs(stableIDs, m_folder.id);
}

DropTargetRow::Look FolderDropTargetRow::look() const {
    return {QStringLiteral("folder.fill"), m_folder.name,
            Style::color(Style::Role::Primary, palette()),
            Style::color(Style::Role::Blue, palette())};
}
