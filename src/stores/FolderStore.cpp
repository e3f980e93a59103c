#include "stores/FolderStore.h"

#include <QSet>

#include <algorithm>

namespace {

QStringList stableIDsOf(const QList<TabItem> &tabs) {
    QStringList ids;
    ids.reserve(tabs.size());
    for (const TabItem &tab : tabs)
        ids.append(tab.stableID());
    return ids;
}

// Appends, for each id of `order` not in `skipped`, the first tab with that stable id; an id
// named twice yields its tab once, so no row is ever shown twice.
void appendInOrder(QList<TabItem> &result, const QStringList &order, const TabIndex &index,
                   QSet<QString> skipped) {
    for (const QString &id : order) {
        const qsizetype position = index.firstPosition(id);
        if (position < 0 || skipped.contains(id))
            continue;
        skipped.insert(id);
        result.append(index.tabs().at(position));
    }
}

} // namespace

FolderStore::FolderStore(const QString &directory, QObject *parent)
    : QObject(parent)
    , m_file(directory, QStringLiteral("folders.json")) {
    const auto bytes = m_file.read();
    if (!bytes)
        return;
    if (auto data = PersistedData::decode(*bytes))
        m_data = std::move(*data);
    else
        m_file.markUndecodable();
}

QUuid FolderStore::createFolder(const QString &name) {
    const QUuid id = QUuid::createUuid();
    m_data.folders.append(TabFolder{id, name, {}, true});
    save();
    emit foldersChanged();
    return id;
}

void FolderStore::deleteFolder(const QUuid &id) {
    const auto removed = m_data.folders.removeIf([&](const TabFolder &f) { return f.id == id; });
    save();
    if (removed > 0)
        emit foldersChanged();
}

void FolderStore::renameFolder(const QUuid &id, const QString &name) {
    TabFolder *folder = findFolder(id);
    if (!folder)
        return;
    const bool changed = folder->name != name;
    folder->name = name;
    save();
    if (changed)
        emit foldersChanged();
}

void FolderStore::toggleExpanded(const QUuid &id) {
    TabFolder *folder = findFolder(id);
    if (!folder)
        return;
    folder->isExpanded = !folder->isExpanded;
    save();
    emit foldersChanged();
}

void FolderStore::addTab(const QString &stableID, const QUuid &folderID,
                         const QList<TabItem> &tabs) {
    const bool removed = removeEverywhere(stableID);
    TabFolder *folder = findFolder(folderID);
    if (!folder) {
        if (removed)
            emit foldersChanged();
        return;
    }
    const qsizetype position =
        tabs.isEmpty() ? folder->tabIDs.size() : sortedPosition(*folder, stableID, tabs);
    folder->tabIDs.insert(position, stableID);
    save();
    emit foldersChanged();
}

qsizetype FolderStore::sortedPosition(const TabFolder &folder, const QString &stableID,
                                      const QList<TabItem> &tabs) const {
    const TabIndex &index = indexOf(tabs);
    const auto titleOf = [&](const QString &id) {
        const qsizetype position = index.firstPosition(id);
        return position < 0 ? QString() : index.tabs().at(position).title;
    };
    const QString newTitle = titleOf(stableID);
    const auto before =
        std::find_if(folder.tabIDs.cbegin(), folder.tabIDs.cend(),
                     [&](const QString &id) { return m_titleOrder(newTitle, titleOf(id)); });
    return before - folder.tabIDs.cbegin();
}

void FolderStore::insertTab(const QString &stableID, const QUuid &folderID, int index) {
    TabFolder *folder = findFolder(folderID);
    if (!folder)
        return;
    index = std::max(index, 0);
    const qsizetype current = folder->tabIDs.indexOf(stableID);
    const QStringList before = folder->tabIDs;
    bool changed = false;
    if (current >= 0) {
        folder->tabIDs.removeAt(current);
        if (current < index)
            --index;
    } else {
        changed = removeEverywhere(stableID);
    }
    folder->tabIDs.insert(std::min<qsizetype>(index, folder->tabIDs.size()), stableID);
    changed = changed || folder->tabIDs != before;
    save();
    if (changed)
        emit foldersChanged();
}

void FolderStore::removeFromFolder(const QString &stableID) {
    const bool removed = removeEverywhere(stableID);
    save();
    if (removed)
        emit foldersChanged();
}

void FolderStore::moveFolder(int from, int to) {
    if (from == to || from < 0 || from >= m_data.folders.size())
        return;
    const TabFolder folder = m_data.folders.takeAt(from);
    const qsizetype destination =
        std::clamp<qsizetype>(from < to ? to - 1 : to, 0, m_data.folders.size());
    m_data.folders.insert(destination, folder);
    save();
    if (destination != from)
        emit foldersChanged();
}

void FolderStore::placeInUngrouped(const QStringList &stableIDs, int index,
                                   const QList<TabItem> &shownTabs) {
    const QStringList shown = stableIDsOf(shownTabs);
    const QSet<QString> moving(stableIDs.cbegin(), stableIDs.cend());
    const qsizetype lineRow = std::clamp<qsizetype>(index, 0, shown.size());
    QStringList order;
    qsizetype position = 0;
    for (qsizetype row = 0; row < shown.size(); ++row) {
        if (moving.contains(shown.at(row)))
            continue;
        order.append(shown.at(row));
        if (row < lineRow)
            ++position;
    }
    for (const QString &id : stableIDs)
        order.insert(position++, id);

    bool foldersDiffer = false;
    for (const QString &id : stableIDs)
        foldersDiffer = removeEverywhere(id) || foldersDiffer;
    const bool orderDiffers = order != m_data.ungroupedOrder;
    m_data.ungroupedOrder = order;
    save();
    if (foldersDiffer)
        emit foldersChanged();
    if (orderDiffers)
        emit ungroupedOrderChanged();
}

std::optional<TabFolder> FolderStore::folderFor(const QString &stableID) const {
    for (const TabFolder &folder : m_data.folders) {
        if (folder.tabIDs.contains(stableID))
            return folder;
    }
    return std::nullopt;
}

bool FolderStore::isInFolder(const QString &stableID) const {
    return folderFor(stableID).has_value();
}

QList<TabItem> FolderStore::tabsInFolder(const TabFolder &folder,
                                         const QList<TabItem> &tabs) const {
    QList<TabItem> result;
    appendInOrder(result, folder.tabIDs, indexOf(tabs), {});
    return result;
}

QList<TabItem> FolderStore::ungroupedTabs(const QList<TabItem> &tabs) const {
    const TabIndex &index = indexOf(tabs);
    QSet<QString> grouped;
    for (const TabFolder &folder : m_data.folders)
        grouped.unite(QSet<QString>(folder.tabIDs.cbegin(), folder.tabIDs.cend()));
    const QSet<QString> arranged(m_data.ungroupedOrder.cbegin(), m_data.ungroupedOrder.cend());

    QList<TabItem> result;
    result.reserve(tabs.size());
    appendInOrder(result, m_data.ungroupedOrder, index, grouped);
    // Tabs never arranged follow, in the order the tab source gives them.
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        const QString &id = index.stableIDs().at(i);
        if (!grouped.contains(id) && !arranged.contains(id))
            result.append(tabs.at(i));
    }
    return result;
}

const TabIndex &FolderStore::indexOf(const QList<TabItem> &tabs) const {
    if (!m_tabIndex.covers(tabs))
        m_tabIndex = TabIndex(tabs);
    return m_tabIndex;
}

void FolderStore::save() {
    m_file.write(m_data.encode());
}

TabFolder *FolderStore::findFolder(const QUuid &id) {
    const auto found = std::find_if(m_data.folders.begin(), m_data.folders.end(),
                                    [&](const TabFolder &f) { return f.id == id; });
    return found == m_data.folders.end() ? nullptr : &*found;
}

bool FolderStore::removeEverywhere(const QString &stableID) {
    bool removed = false;
    for (TabFolder &folder : m_data.folders)
        removed = folder.tabIDs.removeAll(stableID) > 0 || removed;
    return removed;
}
