#include "panel/model/TabSearch.h"

#include <algorithm>

QList<TabItem> TabSearch::results(const QList<TabItem> &tabs, const QString &searchText) const {
    const QString query = searchText.toLower();
    QList<TabItem> matches;
    for (const TabItem &tab : tabs) {
        if (tab.title.toLower().contains(query))
            matches.append(tab);
    }
    std::stable_sort(matches.begin(), matches.end(), [&](const TabItem &a, const TabItem &b) {
        return m_titleOrder(a.title, b.title);
    });
    return matches;
}
