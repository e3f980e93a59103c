#include "tabs/TabManager.h"

#include "platform/FileWatcher.h"
#include "platform/Workspace.h"
#include "tabs/FigmaApplication.h"
#include "tabs/SessionFileLocation.h"

#include <QFutureWatcher>
#include <QSet>
#include <QtConcurrent>
#include <optional>

TabManager::Options TabManager::Options::standard() {
    Options options;
    options.sessionFileCandidates = ::sessionFileCandidates();
    options.readSessionTabs = [](const QString &path) { return readSession(path); };
    return options;
}

TabManager::TabManager(FileWatcher &fileWatcher, Workspace &workspace, QObject *parent)
    : TabManager(fileWatcher, workspace, Options::standard(), parent) {
}

TabManager::TabManager(FileWatcher &fileWatcher, Workspace &workspace, Options options,
                       QObject *parent)
    : QObject(parent)
    , m_fileWatcher(fileWatcher)
    , m_workspace(workspace)
    , m_options(std::move(options))
    , m_opener(workspace)
    , m_latestRefresh(std::make_shared<std::atomic<quint64>>(0)) {
    m_loadingTimer.setSingleShot(true);
    m_loadingTimer.setInterval(m_options.loadingDelay);
    connect(&m_loadingTimer, &QTimer::timeout, this, [this] { setLoading(true); });
    // A second thread lets a new re-read start while a superseded one is still reading.
    m_readPool.setMaxThreadCount(2);
}

TabManager::~TabManager() {
    // Queued re-reads never start and running ones give up; the pool waits for them last.
    m_latestRefresh->fetch_add(1);
    m_readPool.clear();
}

void TabManager::refresh() {
    const quint64 refreshNumber = m_latestRefresh->fetch_add(1) + 1;
    m_loadingTimer.start();

    using Result = std::optional<ReadResult>;
    auto *watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcher<Result>::finished, this, [this, watcher, previous = m_tabs] {
        watcher->deleteLater();
        if (const Result result = watcher->result())
            apply(*result, previous);
    });
    watcher->setFuture(QtConcurrent::run(
        &m_readPool,
        [latest = m_latestRefresh, refreshNumber, read = m_options.readSessionTabs,
         candidates = m_options.sessionFileCandidates]() -> Result {
            if (latest->load() != refreshNumber)
                return std::nullopt;
            ReadResult result;
            result.filePath = firstExistingFile(candidates);
            result.read = read(result.filePath);
            if (latest->load() != refreshNumber)
                return std::nullopt;
            return result;
        }));
}

void TabManager::apply(const ReadResult &result, const QList<TabItem> &previous) {
    m_loadingTimer.stop();
    setLoading(false);
    const QStringList missing =
        result.filePath.isEmpty() ? m_options.sessionFileCandidates : QStringList();
    if (missing != m_missingSessionFiles) {
        m_missingSessionFiles = missing;
        emit missingSessionFilesChanged();
    }
    if (result.read.failure != m_sessionFileFailure) {
        m_sessionFileFailure = result.read.failure;
        emit sessionFileFailureChanged();
    }
    if (!m_sessionFileFailure.isEmpty())
        return;
    const QList<TabItem> &tabs = result.read.tabs;
    if (tabs != m_tabs) {
        m_tabs = tabs;
        emit tabsChanged();
    }
    if (!previous.isEmpty())
        emit tabsMayHaveClosed(previous, tabs);
    QSet<QString> openIDs;
    for (const TabItem &tab : tabs)
        openIDs.insert(tab.stableID());
    emit openTabsRead(openIDs);
}

void TabManager::startFileMonitor() {
    stopFileMonitor();
    // A file appearing at a place ranked above the one read is read from then on.
    const QString current = firstExistingFile(m_options.sessionFileCandidates);
    for (const QString &candidate : m_options.sessionFileCandidates) {
        if (auto watch = m_fileWatcher.watch(candidate, m_options.fileEventSettleTime)) {
            connect(watch.get(), &FileWatch::changed, this, &TabManager::handleFileEvents);
            m_fileWatches.push_back(std::move(watch));
        }
        if (candidate == current)
            break;
    }
}

void TabManager::stopFileMonitor() {
    // A watch may be the sender of the event being handled: it goes once that is over, or
    // with the manager.
    for (std::unique_ptr<FileWatch> &owned : m_fileWatches) {
        FileWatch *watch = owned.release();
        watch->disconnect(this);
        watch->setParent(this);
        watch->deleteLater();
    }
    m_fileWatches.clear();
}

void TabManager::handleFileEvents(FileWatch::Events events) {
    // After a rename, delete or creation the watches follow the paths again: whatever file
    // stands where.
    if (events & (FileWatch::Rename | FileWatch::Delete | FileWatch::Created)) {
        stopFileMonitor();
        // Nothing watches the path until then: a save made meanwhile is caught by re-reading.
        QTimer::singleShot(m_options.rewatchDelay, this, [this] {
            startFileMonitor();
            refresh();
        });
    }
    refresh();
}

void TabManager::startWorkspaceObservers() {
    const auto refreshForFigma = [this](const RunningApplication &application) {
        if (isFigma(application))
            refresh();
    };
    connect(&m_workspace, &Workspace::applicationActivated, this, refreshForFigma);
    connect(&m_workspace, &Workspace::applicationDeactivated, this, refreshForFigma);
    connect(&m_workspace, &Workspace::applicationLaunched, this, refreshForFigma);
    connect(&m_workspace, &Workspace::applicationTerminated, this, refreshForFigma);
}

void TabManager::openTab(const TabItem &tab) {
    if (m_opener.open(tab))
        QTimer::singleShot(m_options.openRefreshDelay, this, &TabManager::refresh);
}

void TabManager::setLoading(bool loading) {
    if (m_isLoading == loading)
        return;
    m_isLoading = loading;
    emit isLoadingChanged();
}
