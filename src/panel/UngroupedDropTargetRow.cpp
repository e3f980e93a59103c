#include "panel/UngroupedDropTargetRow.h"

#include "stores/FolderStore.h"
#include "ui/Style.h"

UngroupedDropTargetRow::UngroupedDropTargetRow(FolderStore *folderStore, QWidget *parent)
    : DropTargetRow(parent)
    , m_folderStore(folderStore) {
}

void UngroupedDropTargetRow::dropTabs(const QStringList &stableIDs) {
    if (m_folderStore)
        m_folderStore->ungroup(stableIDs);
}

DropTargetRow::Look UngroupedDropTargetRow::look() const {
    const QColor secondary = Style::color(Style::Role::Secondary, palette());
    return {QStringLiteral("tray"), tr("Ungrouped"), secondary, secondary};
}
