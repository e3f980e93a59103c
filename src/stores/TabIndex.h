#pragma once

#include "tabs/TabItem.h"

#include <QHash>
#include <QList>
#include <QStringList>

// The stable ids of one tab list, worked out once. Computing a stable id parses a URL, and a panel
// rebuild asks about the same list once per folder: the list is implicitly shared, so the same
// list passed again is recognised by its data, which cannot change or be reused while held here.
class TabIndex {
public:
    TabIndex() = default;
    explicit TabIndex(const QList<TabItem> &tabs);

    bool covers(const QList<TabItem> &tabs) const {
        return tabs.constData() == m_tabs.constData() && tabs.size() == m_tabs.size();
    }

    const QList<TabItem> &tabs() const { return m_tabs; }
    const QStringList &stableIDs() const { return m_stableIDs; }
    // The position of the first tab with that stable id, or -1.
    qsizetype firstPosition(const QString &stableID) const {
        return m_firstPositions.value(stableID, -1);
    }

private:
    QList<TabItem> m_tabs;
    QStringList m_stableIDs;
    QHash<QString, qsizetype> m_firstPositions;
};
