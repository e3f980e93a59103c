#pragma once

#include "panel/AppNotifications.h"
#include "panel/PanelContext.h"
#include "panel/ThumbnailLoader.h"
#include "panel/model/ListRows.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "support/FakeFileWatcher.h"
#include "support/FakeWorkspace.h"
#include "tabs/TabManager.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Real stores in a throw-away folder and a tab manager fed from memory, handed to the views
// the way the shell hands them.
class RowsTestContext {
public:
    RowsTestContext();

    // A tab whose stable id is `key`.
    static TabItem tab(const QString &key, const QString &title = {}, bool isActive = false,
                       const QUrl &thumbnailURL = {});
    static QList<TabItem> tabs(const QStringList &keys);
    static QString figmaUrl(const QString &key);

    // Makes the tab manager hold these tabs (one refresh).
    void setOpenTabs(const QList<TabItem> &tabs);
    // Makes folders in order and returns their ids; each holds the given stable ids.
    QList<QUuid> makeFolders(const QList<QPair<QString, QStringList>> &folders);
    TabFolder folder(const QUuid &id) const;
    QStringList folderTabIDs(const QUuid &id) const { return folder(id).tabIDs; }
    QStringList folderNames() const;
    QString folderFilePath() const;
    // The rows the panel would show now (fixed heights), the normal list or a query's results.
    ListRows rows(bool editing = false, const QString &query = {}) const;
    // The keys of the tabs handed to Figma so far, in order.
    QStringList openedKeys() const;

    QTemporaryDir directory;
    FakeFileWatcher fileWatcher;
    FakeWorkspace workspace;
    FolderStore folderStore;
    RecentlyClosedStore recentlyClosedStore;
    SelectionStore selectionStore;
    ThumbnailLoader thumbnails;
    AppNotifications notifications;
    std::shared_ptr<QList<TabItem>> sessionTabs;
    TabManager tabManager;
    PanelContext context;
};
