#pragma once

#include "platform/FileWatch.h"
#include "stores/RecentlyClosedStore.h"
#include "tabs/TabItem.h"
#include "tabs/TabOpener.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class FileWatcher;
class Workspace;

// Keeps the list of tabs open in Figma current: re-reads the session file off the GUI thread
// whenever the file changes, Figma launches, quits, is activated or deactivated, or a caller
// asks; tells the recently closed store which tabs went and which came back.
// The file watcher and the workspace must outlive the manager.
class TabManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<TabItem> tabs READ tabs NOTIFY tabsChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
public:
    struct Options {
        QString sessionFilePath;
        // Called on a worker thread with the session file's path.
        std::function<QList<TabItem>(const QString &)> readSessionTabs;
        std::chrono::milliseconds loadingDelay{2000};
        std::chrono::milliseconds fileEventSettleTime{200};
        std::chrono::milliseconds rewatchDelay{50};
        std::chrono::milliseconds openRefreshDelay{400};

        // Figma's session file, read by the session reader, with the intervals above.
        static Options standard();
    };

    TabManager(FileWatcher &fileWatcher, Workspace &workspace, QObject *parent = nullptr);
    TabManager(FileWatcher &fileWatcher, Workspace &workspace, Options options,
               QObject *parent = nullptr);
    ~TabManager() override;

    QList<TabItem> tabs() const { return m_tabs; }
    // True while a re-read has run longer than the loading delay.
    bool isLoading() const { return m_isLoading; }

    RecentlyClosedStore *recentlyClosedStore() const { return m_recentlyClosedStore; }
    void setRecentlyClosedStore(RecentlyClosedStore *store);

    // Starts a re-read that supersedes any earlier one still running; returns at once.
    void refresh();
    // Watches the session file; when it does not exist yet, watches for its creation.
    void startFileMonitor();
    // Re-reads on each launch, termination, activation and deactivation of Figma.
    void startWorkspaceObservers();
    // Switches Figma to the tab and re-reads shortly after; brings Figma to the front when the
    // tab has no usable URL.
    void openTab(const TabItem &tab);

signals:
    void tabsChanged();
    void isLoadingChanged();

private:
    void apply(const QList<TabItem> &tabs, const QList<TabItem> &previous,
               const QPointer<RecentlyClosedStore> &store);
    void handleFileEvents(FileWatch::Events events);
    void stopFileMonitor();
    void setLoading(bool loading);

    FileWatcher &m_fileWatcher;
    Workspace &m_workspace;
    const Options m_options;
    const TabOpener m_opener;
    QList<TabItem> m_tabs;
    bool m_isLoading = false;
    QPointer<RecentlyClosedStore> m_recentlyClosedStore;
    std::unique_ptr<FileWatch> m_fileWatch;
    QTimer m_loadingTimer;
    // The number of the latest re-read; an older one that sees it changed gives up.
    std::shared_ptr<std::atomic<quint64>> m_latestRefresh;
    // Last member: its destructor waits for running re-reads before anything else goes.
    QThreadPool m_readPool;
};
