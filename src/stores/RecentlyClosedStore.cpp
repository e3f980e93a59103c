#include "stores/RecentlyClosedStore.h"

#include "stores/ClosedTabsCodec.h"

#include <algorithm>

RecentlyClosedStore::RecentlyClosedStore(const QString &directory, Clock clock, QObject *parent)
    : QObject(parent)
    , m_file(directory, QStringLiteral("recently_closed.json"))
    , m_clock(std::move(clock)) {
    const auto bytes = m_file.read();
    if (!bytes)
        return;
    if (auto tabs = ClosedTabsCodec::decode(*bytes)) {
        m_closedTabs = std::move(*tabs);
        pruneExpired();
    } else {
        m_file.markUndecodable();
    }
}

void RecentlyClosedStore::recordClosed(const QList<TabItem> &previous,
                                       const QList<TabItem> &current) {
    QSet<QString> currentIDs;
    currentIDs.reserve(current.size());
    for (const TabItem &tab : current)
        currentIDs.insert(tab.stableID());
    QSet<QString> known;
    known.reserve(m_closedTabs.size());
    for (const ClosedTab &tab : std::as_const(m_closedTabs))
        known.insert(tab.stableID);

    bool anyClosed = false;
    bool appended = false;
    // One reading for the whole pass: dates made up to order a pass among itself would run ahead
    // of the clock and overtake the next pass. The order within a pass is the recorded order.
    const QDateTime now = m_clock();
    for (const TabItem &tab : previous) {
        const QString stableID = tab.stableID();
        if (currentIDs.contains(stableID))
            continue;
        anyClosed = true;
        // `known` stays as it was: two open tabs of one file closing together give two entries.
        if (known.contains(stableID))
            continue;
        m_closedTabs.append(ClosedTab{stableID, tab.title, tab.url, tab.thumbnailURL, now});
        appended = true;
    }
    if (!anyClosed)
        return;
    save();
    if (appended)
        emit closedTabsChanged();
}

void RecentlyClosedStore::forgetReopened(const QSet<QString> &openIDs) {
    removeWhere([&](const ClosedTab &tab) { return openIDs.contains(tab.stableID); },
                SaveWhen::Changed);
}

void RecentlyClosedStore::remove(const QString &stableID) {
    removeWhere([&](const ClosedTab &tab) { return tab.stableID == stableID; }, SaveWhen::Always);
}

void RecentlyClosedStore::clear() {
    removeWhere([](const ClosedTab &) { return true; }, SaveWhen::Always);
}

void RecentlyClosedStore::pruneExpired() {
    const QDateTime now = m_clock();
    removeWhere([&](const ClosedTab &tab) { return isExpired(tab, now); }, SaveWhen::Changed);
}

QList<ClosedTab> RecentlyClosedStore::recentTabs() const {
    const QDateTime now = m_clock();
    QList<ClosedTab> recent;
    // Latest recorded first, so that among equal dates the stable sort keeps the later recording
    // on top.
    std::copy_if(m_closedTabs.crbegin(), m_closedTabs.crend(), std::back_inserter(recent),
                 [&](const ClosedTab &tab) { return !isExpired(tab, now); });
    std::stable_sort(recent.begin(), recent.end(), [](const ClosedTab &a, const ClosedTab &b) {
        return a.closedDate > b.closedDate;
    });
    return recent;
}

void RecentlyClosedStore::save() {
    m_file.write(ClosedTabsCodec::encode(m_closedTabs));
}

bool RecentlyClosedStore::isExpired(const ClosedTab &tab, const QDateTime &now) const {
    // Strictly older than the window, to the millisecond; dates in the future never expire.
    return tab.closedDate.msecsTo(now) > retentionSeconds * 1000;
}

void RecentlyClosedStore::removeWhere(const std::function<bool(const ClosedTab &)> &matches,
                                      SaveWhen when) {
    const bool changed = m_closedTabs.removeIf(matches) > 0;
    if (changed || when == SaveWhen::Always)
        save();
    if (changed)
        emit closedTabsChanged();
}
