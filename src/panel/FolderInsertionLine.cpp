#include "panel/FolderInsertionLine.h"

#include "stores/FolderStore.h"

namespace {

std::optional<TabFolder> findFolder(const FolderStore &store, const QUuid &id) {
    for (const TabFolder &folder : store.folders()) {
        if (folder.id == id)
            return folder;
    }
    return std::nullopt;
}

} // namespace

FolderInsertionLine::FolderInsertionLine(const QUuid &folderID, const QList<TabItem> &shownTabs,
                                         qsizetype position, FolderStore *store, QWidget *parent)
    : InsertionLineView(parent)
    , m_folderID(folderID)
    , m_shownTabs(shownTabs)
    , m_position(position)
    , m_store(store) {
    setCallbacks([this](const QStringList &stableIDs) { drop(stableIDs); }, {});
}

int FolderInsertionLine::tabIDsPosition(const QStringList &tabIDs, const QString &rowAbove,
                                        const QString &rowBelow) {
    if (!rowBelow.isEmpty() && tabIDs.contains(rowBelow))
        return int(tabIDs.indexOf(rowBelow));
    if (!rowAbove.isEmpty() && tabIDs.contains(rowAbove))
        return int(tabIDs.indexOf(rowAbove)) + 1;
    return int(tabIDs.size());
}

int FolderInsertionLine::positionIn(const QStringList &tabIDs) const {
    const QString above = m_position > 0 ? m_shownTabs[m_position - 1].stableID() : QString();
    const QString below =
        m_position < m_shownTabs.size() ? m_shownTabs[m_position].stableID() : QString();
    return tabIDsPosition(tabIDs, above, below);
}

int FolderInsertionLine::index() const {
    const std::optional<TabFolder> folder =
        m_store ? findFolder(*m_store, m_folderID) : std::nullopt;
    return folder ? positionIn(folder->tabIDs) : 0;
}

void FolderInsertionLine::drop(const QStringList &stableIDs) {
    if (!m_store)
        return;
    std::optional<TabFolder> folder = findFolder(*m_store, m_folderID);
    if (!folder)
        return;
    // Every dropped tab goes right before the first remaining id at the line, so the dropped
    // tabs keep their order even when some of them stood above the line in this folder.
    const int start = positionIn(folder->tabIDs);
    QString anchor;
    for (qsizetype i = start; i < folder->tabIDs.size(); ++i) {
        if (!stableIDs.contains(folder->tabIDs[i])) {
            anchor = folder->tabIDs[i];
            break;
        }
    }
    for (const QString &stableID : stableIDs) {
        const QStringList current = folder->tabIDs;
        const int position = anchor.isEmpty() ? int(current.size()) : int(current.indexOf(anchor));
        m_store->insertTab(stableID, m_folderID, position);
        folder = findFolder(*m_store, m_folderID);
        if (!folder)
            return;
    }
}
