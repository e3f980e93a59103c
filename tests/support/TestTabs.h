#pragma once

#include "tabs/TabItem.h"

#include <QStringList>

// An open tab whose stable id is `stableID`.
inline TabItem openTab(const QString &stableID, const QString &title = {}, bool isActive = false) {
    return TabItem(QStringLiteral("figma-0-") + stableID, title,
                   QStringLiteral("https://www.figma.com/design/%1/file").arg(stableID), isActive);
}

inline QList<TabItem> openTabs(const QStringList &stableIDs) {
    QList<TabItem> tabs;
    for (const QString &id : stableIDs)
        tabs.append(openTab(id, id));
    return tabs;
}

inline QStringList stableIDsOf(const QList<TabItem> &tabs) {
    QStringList ids;
    for (const TabItem &tab : tabs)
        ids.append(tab.stableID());
    return ids;
}

// "a b c" → {"a", "b", "c"}: keeps tables one row a line.
inline QStringList ids(const char *spaced) {
    return QString::fromUtf8(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
