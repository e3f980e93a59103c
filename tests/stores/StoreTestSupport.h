#pragma once

#include "tabs/TabItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QStringList>

// An open tab whose stable id is `stableID`.
inline TabItem openTab(const QString &stableID, const QString &title = {}) {
    return TabItem(QStringLiteral("figma-0-") + stableID, title,
                   QStringLiteral("https://www.figma.com/design/%1/file").arg(stableID), false);
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

inline QByteArray fileContents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeContents(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}
