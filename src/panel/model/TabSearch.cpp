#include "panel/model/TabSearch.h"

#include "stores/FolderStore.h"

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

QString TabSearch::folderHint(const FolderStore &store, const TabItem &tab) {
    if (const auto folder = store.folderFor(tab.stableID()))
        return folder->name;
    return store.folders().isEmpty() ? QString() : QStringLiteral("Ungrouped");
}
