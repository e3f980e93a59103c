#include "app/AppDelegate.h"

#include "app/PanelPopover.h"
#include "app/PopoverController.h"
#include "app/StatusItem.h"
#include "hotkey/SpotlightSearchController.h"
#include "panel/MenuBarView.h"
#include "panel/PanelContext.h"
#include "panel/PanelLineEdit.h"
#include "panel/PanelRootView.h"
#include "panel/SearchFieldView.h"
#include "panel/ThumbnailLoader.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/x11/X11KeyGrabber.h"
#include "platform/x11/X11Workspace.h"
#include "platform/xdg/AutostartDesktopEntry.h"
#include "platform/xdg/DesktopPortalShortcut.h"
#include "settings/OnboardingStore.h"
#include "settings/UpdateDialogPresenter.h"
#include "settings/UpdaterManager.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "tabs/TabManager.h"
#include "ui/Style.h"

QPointer<AppDelegate> AppDelegate::s_shared;

namespace {

// The desktop's own shortcut service, where a Wayland session may offer one.
std::unique_ptr<GlobalShortcutPortal> desktopShortcutPortal() {
    if (!DesktopPortalShortcut::isWaylandSession())
        return nullptr;
    return std::make_unique<DesktopPortalShortcut>();
}

} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent)
    , m_fileWatcher(std::make_unique<InotifyFileWatcher>())
    , m_workspace(std::make_unique<X11Workspace>())
    , m_autostart(std::make_unique<AutostartDesktopEntry>())
    , m_hotkey(std::make_unique<SpotlightSearchController>(X11KeyGrabber::create(),
                                                           desktopShortcutPortal()))
    , m_tabManager(std::make_unique<TabManager>(*m_fileWatcher, *m_workspace))
    , m_folderStore(std::make_unique<FolderStore>())
    , m_selectionStore(std::make_unique<SelectionStore>())
    , m_recentlyClosedStore(std::make_unique<RecentlyClosedStore>())
    , m_updaterManager(std::make_unique<UpdaterManager>())
    , m_onboardingStore(std::make_unique<OnboardingStore>()) {
    m_hotkey->publish();
    // Scheduled checks answer whether or not the settings page was ever opened.
    UpdateDialogPresenter::ensureFor(*m_updaterManager);
}

AppDelegate::~AppDelegate() = default;

AppDelegate *AppDelegate::shared() {
    return s_shared.data();
}

void AppDelegate::applicationWillFinishLaunching() {
    s_shared = this;
    // Nothing to switch: a QApplication without a main window has no taskbar entry.
    createStatusItem();
    createPopover();
}

void AppDelegate::applicationDidFinishLaunching() {
    // Wired first, so the very first applied re-read already reaches the store.
    connect(m_tabManager.get(), &TabManager::tabsMayHaveClosed, m_recentlyClosedStore.get(),
            &RecentlyClosedStore::recordClosed);
    connect(m_tabManager.get(), &TabManager::openTabsRead, m_recentlyClosedStore.get(),
            &RecentlyClosedStore::forgetReopened);
    m_tabManager->refresh();
    m_tabManager->startFileMonitor();
    m_tabManager->startWorkspaceObservers();
    m_hotkey->configure();
}

void AppDelegate::statusItemClicked() {
    togglePopover(true);
}

void AppDelegate::togglePopover(bool focusSearch) {
    m_popover->setOpenedByPointer(m_nextToggleByPointer);
    m_nextToggleByPointer = false;
    m_popoverController->togglePopover(focusSearch);
}

void AppDelegate::closePanel() {
    if (m_popover->isShown())
        m_popover->dismiss();
}

void AppDelegate::createStatusItem() {
    m_statusItem = std::make_unique<StatusItem>(Style::color(Style::Role::Primary, QPalette()));
    connect(m_statusItem.get(), &StatusItem::clicked, this, [this] {
        m_nextToggleByPointer = true;
        statusItemClicked();
    });
}

void AppDelegate::createPopover() {
    m_thumbnails = std::make_unique<ThumbnailLoader>();
    const PanelContext context{.tabManager = m_tabManager.get(),
                               .folderStore = m_folderStore.get(),
                               .recentlyClosedStore = m_recentlyClosedStore.get(),
                               .updaterManager = m_updaterManager.get(),
                               .hotkey = m_hotkey.get(),
                               .selectionStore = m_selectionStore.get(),
                               .onboardingStore = m_onboardingStore.get(),
                               .notifications = &m_notifications,
                               .shell = this,
                               .autostart = m_autostart.get(),
                               .thumbnails = m_thumbnails.get()};
    auto *root = new PanelRootView(context);
    m_popover = std::make_unique<PanelPopover>(root, [this] { return m_statusItem->geometry(); });
    m_popover->setInitialFocus([root]() -> QWidget * {
        const MenuBarView *panel = root->menuBarView();
        if (!panel || panel->isShowingSettings())
            return nullptr;
        return panel->searchField()->field();
    });
    connect(m_popover.get(), &PanelPopover::paletteChanged, this, [this] {
        m_statusItem->setTint(Style::color(Style::Role::Primary, m_popover->palette()));
    });
    m_popoverController =
        std::make_unique<PopoverController>(m_popover.get(), [this] { m_tabManager->refresh(); });
    connect(m_popoverController.get(), &PopoverController::focusSearchFieldRequested,
            &m_notifications, &AppNotifications::focusSearchField);
    connect(m_hotkey.get(), &SpotlightSearchController::hotKeyPressed, this,
            &AppDelegate::statusItemClicked, Qt::QueuedConnection);
}
