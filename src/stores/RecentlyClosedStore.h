#pragma once

#include "stores/ClosedTab.h"
#include "stores/StoreFile.h"
#include "tabs/TabItem.h"

#include <QList>
#include <QObject>
#include <QSet>

#include <functional>

// Tabs that disappeared from Figma during the last 30 days, kept in "recently_closed.json" in the
// order they were recorded. closedTabsChanged() fires only when the list really changes.
class RecentlyClosedStore : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;
    static constexpr qint64 retentionSeconds = 2592000; // 30 days

    // Loads the file, then drops expired entries.
    explicit RecentlyClosedStore(const QString &directory = StoreFile::defaultDirectory(),
                                 Clock clock = &QDateTime::currentDateTimeUtc,
                                 QObject *parent = nullptr);

    // Remembers each tab of `previous` missing from `current`, unless already remembered.
    void recordClosed(const QList<TabItem> &previous, const QList<TabItem> &current);
    // Forgets the entries of files that are open again; saves only if any was forgotten.
    void forgetReopened(const QSet<QString> &openIDs);
    // Forgets every entry of that file; saves also when there was none.
    void remove(const QString &stableID);
    void clear();
    // Forgets entries older than 30 days; saves only if any was forgotten.
    void pruneExpired();

    // Entries not older than 30 days, newest first; of equal dates, the later recorded first.
    QList<ClosedTab> recentTabs() const;
    QList<ClosedTab> closedTabs() const { return m_closedTabs; }

    void save();

signals:
    void closedTabsChanged();

private:
    bool isExpired(const ClosedTab &tab, const QDateTime &now) const;
    // Removes the matching entries; saves always or only on change, and notifies on change.
    enum class SaveWhen { Always, Changed };
    void removeWhere(const std::function<bool(const ClosedTab &)> &matches, SaveWhen when);

    StoreFile m_file;
    Clock m_clock;
    QList<ClosedTab> m_closedTabs;
};
