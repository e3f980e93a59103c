#pragma once

#include "hotkey/SpotlightSearchController.h"
#include "panel/AppNotifications.h"
#include "panel/PanelContext.h"
#include "panel/PanelShell.h"
#include "panel/ThumbnailLoader.h"
#include "panel/model/ListRows.h"
#include "settings/OnboardingStore.h"
#include "settings/UpdaterManager.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "support/FakeAutostartService.h"
#include "support/FakeFileWatcher.h"
#include "support/FakeGlobalKeyGrabber.h"
#include "support/FakeWorkspace.h"
#include "tabs/TabManager.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// What the panel's views read, as the shell hands it to them: real stores in a throw-away
// folder, a tab manager fed from memory, the shortcut, updates, the login item, the onboarding
// flag, and a shell that counts how often it was asked to close the panel.
class PanelTestContext : public PanelShell {
public:
    PanelTestContext();

    void closePanel() override { ++closeRequests; }

    // A tab whose stable id is `key`.
    static TabItem tab(const QString &key, const QString &title = {}, bool isActive = false,
                       const QUrl &thumbnailURL = {});
    static QList<TabItem> tabs(const QStringList &keys);

    // Makes the tab manager hold these tabs (one refresh).
    void setOpenTabs(const QList<TabItem> &tabs);
    // Makes folders in order and returns their ids; each holds the given stable ids.
    QList<QUuid> makeFolders(const QList<QPair<QString, QStringList>> &folders);
    TabFolder folder(const QUuid &id) const;
    QStringList folderTabIDs(const QUuid &id) const { return folder(id).tabIDs; }
    QStringList folderNames() const;
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
    SpotlightSearchController hotkey{std::make_unique<FakeGlobalKeyGrabber>()};
    UpdaterManager updater{UpdaterConfig{}};
    FakeAutostartService autostart;
    OnboardingStore onboarding;
    int closeRequests = 0;
    PanelContext context;
};
