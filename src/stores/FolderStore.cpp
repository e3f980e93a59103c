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

QStringList withoutRepeats(const QStringList &ids) {
    QStringList result = ids;
    result.removeDuplicates();
    return result;
}

// Where the line stands in `ids`: before the tab below it, else after the tab above it, else at
// the end.
qsizetype positionOf(const TabLine &line, const QStringList &ids) {
    const qsizetype below = line.below.isEmpty() ? -1 : ids.indexOf(line.below);
    const qsizetype above = line.above.isEmpty() ? -1 : ids.indexOf(line.above);
    return below >= 0 ? below : above >= 0 ? above + 1 : ids.size();
}

// The first id at or after the line that is not being moved: moved tabs go right before it, so
// they keep their order even when some stood above the line (none: they go to the end).
QString idAfterLine(const QStringList &tabIDs, const QStringList &moving, const TabLine &line) {
    const qsizetype start = positionOf(line, tabIDs);
    for (qsizetype i = start; i < tabIDs.size(); ++i) {
        if (!moving.contains(tabIDs[i]))
            return tabIDs[i];
    }
    return {};
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
    const QList<TabFolder> before = m_data.folders;
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
    // Filed again where it already was: nothing for the views to redo.
    if (m_data.folders != before)
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

void FolderStore::removeFromFolder(const QString &stableID) {
    ungroup({stableID});
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

void FolderStore::moveFolder(const QUuid &id, int to) {
    const auto found = std::find_if(m_data.folders.cbegin(), m_data.folders.cend(),
                                    [&](const TabFolder &f) { return f.id == id; });
    if (found != m_data.folders.cend())
        moveFolder(int(found - m_data.folders.cbegin()), to);
}

void FolderStore::appendTabs(const QStringList &stableIDs, const QUuid &folderID) {
    const QStringList moving = withoutRepeats(stableIDs);
    const QList<TabFolder> before = m_data.folders;
    removeEverywhere(moving);
    if (TabFolder *folder = findFolder(folderID)) {
        folder->tabIDs.append(moving);
        save();
    }
    if (m_data.folders != before)
        emit foldersChanged();
}

void FolderStore::moveTabs(const QStringList &stableIDs, const QUuid &folderID,
                           const TabLine &line) {
    const QList<TabFolder> before = m_data.folders; // copied before any pointer into the list
    TabFolder *folder = findFolder(folderID);
    if (!folder)
        return;
    const QStringList moving = withoutRepeats(stableIDs);
    const QString anchor = idAfterLine(folder->tabIDs, moving, line);
    removeEverywhere(moving);
    qsizetype position = anchor.isEmpty() ? folder->tabIDs.size() : folder->tabIDs.indexOf(anchor);
    for (const QString &id : moving)
        folder->tabIDs.insert(position++, id);
    save();
    if (m_data.folders != before)
        emit foldersChanged();
}

void FolderStore::ungroup(const QStringList &stableIDs) {
    const bool removed = removeEverywhere(stableIDs);
    save();
    if (removed)
        emit foldersChanged();
}

void FolderStore::placeInUngrouped(const QStringList &stableIDs, const TabLine &line,
                                   const QList<TabItem> &tabs) {
    const QStringList shown = stableIDsOf(ungroupedTabs(tabs));
    const QStringList placed = withoutRepeats(stableIDs);
    const QSet<QString> moving(placed.cbegin(), placed.cend());
    const qsizetype lineRow = positionOf(line, shown);
    QStringList order;
    qsizetype position = 0;
    for (qsizetype row = 0; row < shown.size(); ++row) {
        if (moving.contains(shown.at(row)))
            continue;
        order.append(shown.at(row));
        if (row < lineRow)
            ++position;
    }
    for (const QString &id : placed)
        order.insert(position++, id);

    const bool foldersDiffer = removeEverywhere(placed);
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
    emit saved();
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

bool FolderStore::removeEverywhere(const QStringList &stableIDs) {
    const QSet<QString> removedIDs(stableIDs.cbegin(), stableIDs.cend());
    bool removed = false;
    for (TabFolder &folder : m_data.folders)
        removed = folder.tabIDs.removeIf([&](const QString &id) {
            return removedIDs.contains(id);
        }) > 0 || removed;
    return removed;
}
