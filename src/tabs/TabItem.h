#pragma once

#include <QHashFunctions>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUrl>

// One tab open in the Figma desktop app, as read from its session file.
class TabItem {
public:
    TabItem() = default;
    TabItem(QString id, QString title, QString url, bool isActive, QUrl thumbnailURL = {});

    QString id;
    QString title;
    QString url;
    bool isActive = false;
    QUrl thumbnailURL; // empty when the tab has none

    // The Figma file's identity: the second component of the URL's path, else `id`. Derived
    // once, when the tab is made: rows, drags and lookups ask for it many times per event.
    QString stableID() const { return m_stableID; }
    // The title without Figma's " – Figma" / " - Figma" suffixes, trimmed.
    QString displayTitle() const;

    friend bool operator==(const TabItem &, const TabItem &) = default;

private:
    QString m_stableID;
};

QString displayTitle(const QString &title);

size_t qHash(const TabItem &item, size_t seed = 0) noexcept;

Q_DECLARE_METATYPE(TabItem)
