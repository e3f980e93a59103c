#include "support/PanelTestContext.h"

#include "panel/model/PanelDerivation.h"
#include "support/TestRowHeights.h"
#include "support/TestTabs.h"

#include <QSignalSpy>
#include <QTest>

namespace {

TabManager::Options memoryOptions(const std::shared_ptr<QList<TabItem>> &sessionTabs) {
    TabManager::Options options;
    options.readSessionTabs = [sessionTabs](const QString &) { return *sessionTabs; };
    return options;
}

} // namespace

PanelTestContext::PanelTestContext()
    : folderStore(directory.path())
    , recentlyClosedStore(directory.path())
    , sessionTabs(std::make_shared<QList<TabItem>>())
    , tabManager(fileWatcher, workspace, memoryOptions(sessionTabs)) {
    context.tabManager = &tabManager;
    context.folderStore = &folderStore;
    context.recentlyClosedStore = &recentlyClosedStore;
    context.selectionStore = &selectionStore;
    context.notifications = &notifications;
    context.thumbnails = &thumbnails;
    context.hotkey = &hotkey;
    context.updaterManager = &updater;
    context.autostart = &autostart;
    context.onboardingStore = &onboarding;
    context.shell = this;
}

TabItem PanelTestContext::tab(const QString &key, const QString &title, bool isActive,
                              const QUrl &thumbnailURL) {
    return openTab(key, title.isEmpty() ? key : title, isActive, thumbnailURL);
}

QList<TabItem> PanelTestContext::tabs(const QStringList &keys) {
    return openTabs(keys);
}

void PanelTestContext::setOpenTabs(const QList<TabItem> &tabs) {
    *sessionTabs = tabs;
    QSignalSpy changed(&tabManager, &TabManager::tabsChanged);
    tabManager.refresh();
    QVERIFY(changed.wait(5000));
}

QList<QUuid> PanelTestContext::makeFolders(const QList<QPair<QString, QStringList>> &folders) {
    QList<QUuid> ids;
    for (const auto &[name, members] : folders) {
        const QUuid id = folderStore.createFolder(name);
        for (const QString &member : members)
            folderStore.addTab(member, id, {});
        ids.append(id);
    }
    return ids;
}

TabFolder PanelTestContext::folder(const QUuid &id) const {
    for (const TabFolder &folder : folderStore.folders()) {
        if (folder.id == id)
            return folder;
    }
    return {};
}

QStringList PanelTestContext::folderNames() const {
    QStringList names;
    for (const TabFolder &folder : folderStore.folders())
        names.append(folder.name);
    return names;
}

ListRows PanelTestContext::rows(bool editing, const QString &query) const {
    const QList<TabItem> tabs = tabManager.tabs();
    const PanelSnapshot snapshot = PanelDerivation().derive(
        {tabs, false, folderStore, recentlyClosedStore.recentTabs(), query});
    return query.isEmpty() ? ListRows::normal(snapshot, editing, false, testRowHeights())
                           : ListRows::search(snapshot, testRowHeights());
}

QStringList PanelTestContext::openedKeys() const {
    QStringList keys;
    for (const QUrl &url : workspace.openedUrls)
        keys.append(url.path().section(QLatin1Char('/'), 2, 2));
    return keys;
}
