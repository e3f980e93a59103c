#include "stores/TabIndex.h"

TabIndex::TabIndex(const QList<TabItem> &tabs)
    : m_tabs(tabs) {
    m_stableIDs.reserve(tabs.size());
    for (const TabItem &tab : tabs)
        m_stableIDs.append(tab.stableID());
    m_firstPositions.reserve(tabs.size());
    for (qsizetype i = m_stableIDs.size() - 1; i >= 0; --i)
        m_firstPositions.insert(m_stableIDs.at(i), i); // backwards: the first tab of an id wins
}
