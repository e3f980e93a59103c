#pragma once

#include "tabs/TabItem.h"
#include "tabs/TitleOrder.h"

#include <QList>
#include <QString>

// Finds open tabs by title while the user types.
class TabSearch {
public:
    // Tabs whose title (as read, not the display title) contains the query, both lower-cased as a
    // whole; the query is used as typed, spaces included. Sorted by title, locale-aware and
    // case-insensitive, keeping list order among equal titles.
    QList<TabItem> results(const QList<TabItem> &tabs, const QString &searchText) const;

private:
    TitleOrder m_titleOrder;
};
