#pragma once

#include "stores/PersistedData.h"
#include "stores/StoreFile.h"
#include "stores/TabFolder.h"
#include "stores/TabIndex.h"
#include "tabs/TabItem.h"

#include "tabs/TitleOrder.h"
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUuid>

#include <optional>

// Where a drop line is drawn among shown tabs: named by the tab shown right below it and the one
// right above it, by stable id (empty past either end).
struct TabLine {
    QString below{};
    QString above{};

    friend bool operator==(const TabLine &, const TabLine &) = default;
};

// The user's folders of tabs and the remembered order of the tabs in no folder, kept in
// "folders.json". Tabs are referred to by stable id only. A stable id is in at most one folder.
//
// Signals: foldersChanged() when `folders` changes, ungroupedOrderChanged() when `ungroupedOrder`
// changes; each only on a real change. Every change is written to the file at once.
class FolderStore : public QObject {
    Q_OBJECT
public:
    explicit FolderStore(const QString &directory = StoreFile::defaultDirectory(),
                         QObject *parent = nullptr);

    QList<TabFolder> folders() const { return m_data.folders; }
    QStringList ungroupedOrder() const { return m_data.ungroupedOrder; }

    // Appends a new expanded, empty folder with the name exactly as given; returns its id.
    QUuid createFolder(const QString &name);
    // The folder's tabs become ungrouped; saves also when no folder matched.
    void deleteFolder(const QUuid &id);
    void renameFolder(const QUuid &id, const QString &name);
    void toggleExpanded(const QUuid &id);

    // Moves the tab into the folder: at the end when `tabs` is empty, otherwise before the first
    // member whose title sorts after the tab's (locale-aware, case-insensitive). For an unknown
    // folder the tab still leaves every folder, but nothing is saved.
    void addTab(const QString &stableID, const QUuid &folderID, const QList<TabItem> &tabs);
    // Takes the tab out of every folder; saves also when it was in none.
    void removeFromFolder(const QString &stableID);
    // `to` counts positions before the move: 0 before the first folder, n after the n-th.
    void moveFolder(int from, int to);
    // The folder with that id, wherever it stands, to the line `to`; an unknown id does nothing.
    void moveFolder(const QUuid &id, int to);

    // Drops: each moves every given tab at once, in the given order, and saves once.
    //
    // Appends the tabs at the end of the folder, taking them out of every other folder. For an
    // unknown folder they still leave every folder, but nothing is saved.
    void appendTabs(const QStringList &stableIDs, const QUuid &folderID);
    // Puts the tabs where `line` is drawn among the folder's shown tabs (its `tabIDs` may also
    // hold closed files, which keep their places). Unknown folder: nothing.
    void moveTabs(const QStringList &stableIDs, const QUuid &folderID, const TabLine &line);
    // Takes the tabs out of every folder; saves also when they were in none.
    void ungroup(const QStringList &stableIDs);
    // Takes the tabs out of their folders and places them where `line` is drawn among the
    // ungrouped tabs of `tabs` (all open tabs); the new ungrouped order is those tabs as shown,
    // with them placed.
    void placeInUngrouped(const QStringList &stableIDs, const TabLine &line,
                          const QList<TabItem> &tabs);

    std::optional<TabFolder> folderFor(const QString &stableID) const;
    bool isInFolder(const QString &stableID) const;
    // The folder's open tabs, in folder order.
    QList<TabItem> tabsInFolder(const TabFolder &folder, const QList<TabItem> &tabs) const;
    // The tabs in no folder: the remembered order first, then the rest in input order.
    QList<TabItem> ungroupedTabs(const QList<TabItem> &tabs) const;

    void save();

signals:
    void foldersChanged();
    void ungroupedOrderChanged();
    // After each write of the file, successful or not.
    void saved();

private:
    TabFolder *findFolder(const QUuid &id);
    bool removeEverywhere(const QString &stableID);
    bool removeEverywhere(const QStringList &stableIDs);
    qsizetype sortedPosition(const TabFolder &folder, const QString &stableID,
                             const QList<TabItem> &tabs) const;

    const TabIndex &indexOf(const QList<TabItem> &tabs) const;

    StoreFile m_file;
    PersistedData m_data;
    TitleOrder m_titleOrder;
    mutable TabIndex m_tabIndex; // of the tab list last asked about
};
