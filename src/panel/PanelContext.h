#pragma once

class AppNotifications;
class AutostartService;
class FolderStore;
class OnboardingStore;
class PanelShell;
class RecentlyClosedStore;
class SelectionStore;
class SpotlightSearchController;
class TabManager;
class ThumbnailLoader;
class UpdaterManager;

// The shared objects every view of the panel reads. The shell owns them all; views never
// create a store. `shell` may be null (a panel shown by a test has nobody to close it).
struct PanelContext {
    TabManager *tabManager = nullptr;
    FolderStore *folderStore = nullptr;
    RecentlyClosedStore *recentlyClosedStore = nullptr;
    UpdaterManager *updaterManager = nullptr;
    SpotlightSearchController *hotkey = nullptr;
    SelectionStore *selectionStore = nullptr;
    OnboardingStore *onboardingStore = nullptr;
    AppNotifications *notifications = nullptr;
    PanelShell *shell = nullptr;
    AutostartService *autostart = nullptr; // the settings page's login item
    ThumbnailLoader *thumbnails = nullptr; // none: rows show the placeholder
};
