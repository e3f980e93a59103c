#pragma once

#include "tabs/TabItem.h"
#include "tabs/TitleOrder.h"

#include <QList>
#include <QString>

class FolderStore;

// Finds open tabs by title while the user types.
class TabSearch {
public:
    // Tabs whose title (as read, not the display title) contains the query, both lower-cased as a
    // whole; the query is used as typed, spaces included. Sorted by title, locale-aware and
    // case-insensitive, keeping list order among equal titles.
    QList<TabItem> results(const QList<TabItem> &tabs, const QString &searchText) const;

    // Where a result lives: its folder's name, else "Ungrouped" when folders exist; empty for no
    // hint.
    static QString folderHint(const FolderStore &store, const TabItem &tab);

private:
    TitleOrder m_titleOrder;
};
