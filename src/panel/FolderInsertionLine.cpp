#include "panel/FolderInsertionLine.h"

#include "stores/FolderStore.h"

FolderInsertionLine::FolderInsertionLine(const QUuid &folderID, const QList<TabItem> &shownTabs,
                                         qsizetype position, FolderStore *store, QWidget *parent)
    : InsertionLineView(parent)
    , m_folderID(folderID)
    , m_shownTabs(shownTabs)
    , m_position(position)
    , m_store(store) {
    setCallbacks([this](const QStringList &stableIDs) { drop(stableIDs); }, {});
}

void FolderInsertionLine::drop(const QStringList &stableIDs) {
    if (m_store)
        m_store->moveTabs(stableIDs, m_folderID, int(m_position), m_shownTabs);
}
