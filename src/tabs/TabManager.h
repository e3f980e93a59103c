#pragma once

#include "platform/FileWatch.h"
#include "tabs/SessionReader.h"
#include "tabs/TabItem.h"
#include "tabs/TabOpener.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class FileWatcher;
class Workspace;

// Keeps the list of tabs open in Figma current: re-reads the session file off the GUI thread
// whenever the file changes, Figma launches, quits, is activated or deactivated, or a caller
// asks; announces, after each read, which tabs went and which are open. A session file that
// cannot be read whole leaves the list as it was: its tabs are unknown, not closed.
// The file watcher and the workspace must outlive the manager.
class TabManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<TabItem> tabs READ tabs NOTIFY tabsChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(
        QStringList missingSessionFiles READ missingSessionFiles NOTIFY missingSessionFilesChanged)
    Q_PROPERTY(QString sessionFileFailure READ sessionFileFailure NOTIFY sessionFileFailureChanged)
public:
    struct Options {
        // Where the session file may be, most specific first; the first that exists is read.
        QStringList sessionFileCandidates;
        // Called on a worker thread with the session file's path, empty when there is none.
        std::function<SessionRead(const QString &)> readSessionTabs;
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
    // The places the last re-read looked at when it found no session file at any of them;
    // empty once it finds one.
    QStringList missingSessionFiles() const { return m_missingSessionFiles; }
    // Why the session file could not be read whole at the last re-read ("it is larger than
    // 8 MiB"); empty when it could, or when there is none.
    QString sessionFileFailure() const { return m_sessionFileFailure; }

    // Starts a re-read that supersedes any earlier one still running; returns at once.
    void refresh();
    // Watches the session file, and every place ranked above it for a file to appear there;
    // when there is none yet, watches every place.
    void startFileMonitor();
    // Re-reads on each launch, termination, activation and deactivation of Figma.
    void startWorkspaceObservers();
    // Switches Figma to the tab and re-reads shortly after; brings Figma to the front when the
    // tab has no usable URL.
    void openTab(const TabItem &tab);

signals:
    void tabsChanged();
    void isLoadingChanged();
    void missingSessionFilesChanged();
    void sessionFileFailureChanged();
    // After a read that follows a non-empty list: the tabs before and after it.
    void tabsMayHaveClosed(const QList<TabItem> &previous, const QList<TabItem> &current);
    // After every read: the stable ids of the tabs open now.
    void openTabsRead(const QSet<QString> &openIDs);

private:
    struct ReadResult {
        QString filePath;
        SessionRead read;
    };
    void apply(const ReadResult &result, const QList<TabItem> &previous);
    void handleFileEvents(FileWatch::Events events);
    void stopFileMonitor();
    void setLoading(bool loading);

    FileWatcher &m_fileWatcher;
    Workspace &m_workspace;
    const Options m_options;
    const TabOpener m_opener;
    QList<TabItem> m_tabs;
    bool m_isLoading = false;
    QStringList m_missingSessionFiles;
    QString m_sessionFileFailure;
    std::vector<std::unique_ptr<FileWatch>> m_fileWatches;
    QTimer m_loadingTimer;
    // The number of the latest re-read; an older one that sees it changed gives up.
    std::shared_ptr<std::atomic<quint64>> m_latestRefresh;
    // Last member: its destructor waits for running re-reads before anything else goes.
    QThreadPool m_readPool;
};
