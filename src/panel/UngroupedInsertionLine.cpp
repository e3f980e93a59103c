#include "panel/UngroupedInsertionLine.h"

#include "stores/FolderStore.h"

UngroupedInsertionLine::UngroupedInsertionLine(int index, const QList<TabItem> &shownTabs,
                                               FolderStore *store, QWidget *parent)
    : InsertionLineView(parent)
    , m_index(index)
    , m_shownTabs(shownTabs)
    , m_store(store) {
    setCallbacks([this](const QStringList &stableIDs) { drop(stableIDs); }, {});
}

void UngroupedInsertionLine::drop(const QStringList &stableIDs) {
    if (m_store)
        m_store->placeInUngrouped(stableIDs, m_index, m_shownTabs);
}
