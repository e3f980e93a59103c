#pragma once

#include "tabs/TabItem.h"

#include <QStringList>
#include <QUrl>

// An open tab whose stable id is `stableID`.
inline TabItem openTab(const QString &stableID, const QString &title = {}, bool isActive = false,
                       const QUrl &thumbnailURL = {}) {
    return TabItem(QStringLiteral("figma-0-") + stableID, title,
                   QStringLiteral("https://www.figma.com/design/%1/file").arg(stableID), isActive,
                   thumbnailURL);
}

inline QList<TabItem> openTabs(const QStringList &stableIDs) {
    QList<TabItem> tabs;
    for (const QString &id : stableIDs)
        tabs.append(openTab(id, id));
    return tabs;
}

// The stable ids of open tabs, or of closed ones, in order.
template <typename Tab> QStringList stableIDsOf(const QList<Tab> &tabs) {
    QStringList ids;
    for (const Tab &tab : tabs) {
        if constexpr (requires { tab.stableID(); })
            ids.append(tab.stableID());
        else
            ids.append(tab.stableID);
    }
    return ids;
}

// "a b c" → {"a", "b", "c"}: keeps tables one row a line.
inline QStringList ids(const char *spaced) {
    return QString::fromUtf8(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
