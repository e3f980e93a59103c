#include "stores/SelectionStore.h"

void SelectionStore::toggle(const QString &stableID) {
    if (!m_selectedIDs.remove(stableID))
        m_selectedIDs.insert(stableID);
    emit selectedIDsChanged();
}

void SelectionStore::clear() {
    if (m_selectedIDs.isEmpty())
        return;
    m_selectedIDs.clear();
    emit selectedIDsChanged();
}
