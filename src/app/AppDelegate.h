#pragma once

#include "panel/AppNotifications.h"
#include "panel/PanelShell.h"

#include <QObject>
#include <QPointer>

#include <memory>

class AutostartService;
class FileWatcher;
class FolderStore;
class OnboardingStore;
class PanelPopover;
class PopoverController;
class RecentlyClosedStore;
class SelectionStore;
class SpotlightSearchController;
class StatusItem;
class TabManager;
class ThumbnailLoader;
class UpdaterManager;
class Workspace;

// Creates the one instance of every store, wires them together in a fixed order at start-up,
// and owns the tray icon and the panel's window.
class AppDelegate : public QObject, public PanelShell {
    Q_OBJECT
public:
    // Creates the stores; needs the QApplication.
    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    // The running delegate, or null before start-up and after it is gone.
    static AppDelegate *shared();

    // Publishes the delegate, creates the tray icon and the panel.
    void applicationWillFinishLaunching();
    // Starts the tab manager and the global shortcut.
    void applicationDidFinishLaunching();

    // The tray icon's action; the shortcut and `nookery --toggle` end here too.
    void statusItemClicked();
    void togglePopover(bool focusSearch);
    void closePanel() override;

    PanelPopover *popover() const { return m_popover.get(); }
    StatusItem *statusItem() const { return m_statusItem.get(); }
    UpdaterManager *updaterManager() const { return m_updaterManager.get(); }

private:
    void createStatusItem();
    void createPopover();

    // The desktop facilities the tab manager and the views rely on; they outlive them.
    std::unique_ptr<FileWatcher> m_fileWatcher;
    std::unique_ptr<Workspace> m_workspace;
    std::unique_ptr<AutostartService> m_autostart;
    std::unique_ptr<SpotlightSearchController> m_hotkey;

    std::unique_ptr<TabManager> m_tabManager;
    std::unique_ptr<FolderStore> m_folderStore;
    std::unique_ptr<SelectionStore> m_selectionStore;
    std::unique_ptr<RecentlyClosedStore> m_recentlyClosedStore;
    std::unique_ptr<UpdaterManager> m_updaterManager;
    std::unique_ptr<OnboardingStore> m_onboardingStore;
    AppNotifications m_notifications;
    // The panel's thumbnails, fetched and cached once for the program's life.
    std::unique_ptr<ThumbnailLoader> m_thumbnails;

    std::unique_ptr<StatusItem> m_statusItem;
    std::unique_ptr<PanelPopover> m_popover;
    std::unique_ptr<PopoverController> m_popoverController;
    bool m_nextToggleByPointer = false;

    static QPointer<AppDelegate> s_shared;
};
