#include "stores/RecentlyClosedStore.h"
#include "support/FakeFileWatcher.h"
#include "support/FakeWorkspace.h"
#include "support/TestTabs.h"
#include "tabs/FigmaApplication.h"
#include "tabs/SessionReader.h"
#include "tabs/TabManager.h"

#include <QMutex>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace std::chrono_literals;

namespace {

// "A* B": open tabs by stable id, a star marking the active one.
QList<TabItem> tabs(const char *spaced) {
    QList<TabItem> result;
    for (const QString &id : ids(spaced)) {
        const QString key = QString(id).remove('*');
        result.append(openTab(key, key, id.endsWith('*')));
    }
    return result;
}

// Session reads on worker threads: each takes the next queued answer, or repeats the last.
class ScriptedReader {
public:
    void answer(const QList<TabItem> &tabs, int readMs = 0) {
        QMutexLocker lock(&m_mutex);
        m_answers.append({tabs, readMs});
    }
    int reads() const { return m_reads; }
    QList<TabItem> read() {
        QMutexLocker lock(&m_mutex);
        ++m_reads;
        if (!m_answers.isEmpty())
            m_last = m_answers.takeFirst();
        const auto [tabs, readMs] = m_last;
        lock.unlock();
        QThread::msleep(readMs);
        return tabs;
    }

private:
    QMutex m_mutex;
    QList<std::pair<QList<TabItem>, int>> m_answers;
    std::pair<QList<TabItem>, int> m_last;
    std::atomic<int> m_reads = 0;
};

} // namespace

class TabManagerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedReader> reader;
    std::unique_ptr<FakeFileWatcher> watcher;
    std::unique_ptr<FakeWorkspace> workspace;
    std::unique_ptr<QTemporaryDir> storeDir;
    std::unique_ptr<TabManager> manager; // last: goes first

    void makeManager(std::chrono::milliseconds loadingDelay = 2000ms) {
        auto options = TabManager::Options::standard();
        options.sessionFileCandidates = {storeDir->filePath("settings.json")};
        options.readSessionTabs = [this](const QString &) { return reader->read(); };
        options.loadingDelay = loadingDelay;
        options.openRefreshDelay = 100ms;
        options.rewatchDelay = 20ms;
        manager.reset();
        manager = std::make_unique<TabManager>(*watcher, *workspace, options);
    }
    // True when no further read starts within `ms`.
    bool noReadBeyond(int reads, int ms) {
        return !QTest::qWaitFor([&] { return reader->reads() > reads; }, ms);
    }

private slots:
    void init() {
        reader = std::make_unique<ScriptedReader>();
        watcher = std::make_unique<FakeFileWatcher>();
        workspace = std::make_unique<FakeWorkspace>();
        storeDir = std::make_unique<QTemporaryDir>();
        makeManager();
    }
    void cleanup() { manager.reset(); }

    // A slow read that finishes last never brings back an older list.
    void newerRefreshSupersedesOlder() {
        reader->answer(tabs("Old"), 300);
        reader->answer(tabs("New"));
        QSignalSpy changed(manager.get(), &TabManager::tabsChanged);
        manager->refresh();
        QTRY_COMPARE(reader->reads(), 1); // the first re-read is running
        manager->refresh();
        QTRY_COMPARE(manager->tabs(), tabs("New"));
        // The first one finishes reading and must change nothing.
        QVERIFY(!QTest::qWaitFor([&] { return changed.count() > 1; }, 400));
        QCOMPARE(manager->tabs(), tabs("New"));
    }

    // A refresh during a slow read keeps the indicator on until a read applies, then never
    // leaves it stuck on.
    void loadingIndicator() {
        reader->answer(tabs("A"), 300);
        makeManager(100ms);
        QList<bool> seen;
        connect(manager.get(), &TabManager::isLoadingChanged, this,
                [&] { seen.append(manager->isLoading()); });
        manager->refresh();
        QTRY_VERIFY(manager->isLoading());
        manager->refresh();
        QTRY_COMPARE(manager->tabs().size(), 1);
        QVERIFY(!QTest::qWaitFor([&] { return seen != QList<bool>{true, false}; }, 150));
    }

    // A closed tab is recorded once and forgotten when it reopens; the list is replaced only
    // when it differs. Tabs read → what the store remembers after.
    void closedAndReopenedTabsReachTheStore() {
        auto store = std::make_unique<RecentlyClosedStore>(storeDir->path());
        store->recordClosed(tabs("Gone Back"), {});
        connect(manager.get(), &TabManager::tabsMayHaveClosed, store.get(),
                &RecentlyClosedStore::recordClosed);
        connect(manager.get(), &TabManager::openTabsRead, store.get(),
                &RecentlyClosedStore::forgetReopened);
        QSignalSpy read(manager.get(), &TabManager::openTabsRead);
        QSignalSpy changed(manager.get(), &TabManager::tabsChanged);
        QList<TabItem> previous;
        const auto step = [&](const char *current, const char *remembered) {
            const int reads = read.count();
            const int changes = changed.count();
            reader->answer(tabs(current));
            manager->refresh();
            QTRY_COMPARE(read.count(), reads + 1);
            QCOMPARE(stableIDsOf(store->closedTabs()).join(' '), remembered);
            QCOMPARE(changed.count() - changes, tabs(current) == previous ? 0 : 1);
            previous = tabs(current);
        };
        step("A B Back", "Gone"); // nothing read before, yet reopened files leave
        step("A", "Gone B Back");
        step("A", "Gone B Back"); // recorded once only
        step("A B", "Gone Back");
        step("A* B", "Gone Back");
        step("", "Gone Back A B"); // a file without tabs: every tab closed
        // The store goes while a read is running: the read applies without it.
        reader->answer(tabs("A"), 100);
        manager->refresh();
        store.reset();
        QTRY_COMPARE(manager->tabs().size(), 1);
    }

    // A session file over the reader's limit holds tabs nobody can know: the list stays and none
    // is recorded as closed. It once read as no tabs, every open tab "closed".
    void sessionFileThatCannotBeReadWholeKeepsTheList() {
        QFile file(storeDir->filePath("settings.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"windows":[{"tabs":[{"title":"T","path":"/design/K/T"}]}]})");
        file.close();
        auto options = TabManager::Options::standard();
        options.sessionFileCandidates = {file.fileName()};
        manager = std::make_unique<TabManager>(*watcher, *workspace, options);
        manager->refresh();
        QTRY_COMPARE(manager->tabs().size(), 1);
        QSignalSpy closed(manager.get(), &TabManager::tabsMayHaveClosed);
        QVERIFY(file.resize(maxSessionFileBytes + 1));
        manager->refresh();
        QTRY_COMPARE(manager->sessionFileFailure(), QStringLiteral("it is larger than 8 MiB"));
        QCOMPARE(manager->tabs().size(), 1);
        QCOMPARE(closed.count(), 0);
    }

    // A replaced file is watched afresh after a short delay and read again, as a save may have
    // come while nothing watched.
    void fileEvents() {
        for (const auto &[events, rewatches] :
             {std::pair{FileWatch::Events(FileWatch::Write), false},
              {FileWatch::Events(FileWatch::Rename), true},
              {FileWatch::Write | FileWatch::Delete, true}}) {
            makeManager();
            watcher->watchedPaths.clear();
            const int reads = reader->reads();
            manager->startFileMonitor();
            QCOMPARE(watcher->watchedPaths, QStringList{storeDir->filePath("settings.json")});
            QCOMPARE(watcher->lastSettleTime, 200ms);
            emit watcher->liveWatches().value(0)->changed(events);
            QTRY_COMPARE(reader->reads() - reads, rewatches ? 2 : 1);
            QVERIFY(noReadBeyond(reader->reads(), 50));
            QCOMPARE(watcher->watchedPaths.size(), rewatches ? 2 : 1);
            QCOMPARE(watcher->liveWatches().size(), 1);
        }
    }

    // Each launch, quit or focus change of Figma, known by its WM_CLASS, re-reads the list once,
    // or it goes stale; other programs' do not.
    void workspaceEventsOfFigmaOnly_data() {
        QTest::addColumn<RunningApplication>("application");
        QTest::addColumn<bool>("figma");
        QTest::newRow("class in capitals") << RunningApplication{"electron", "FIGMA"} << true;
        QTest::newRow("instance only") << RunningApplication{"Figma", "Electron"} << true;
        QTest::newRow("macOS identifier")
            << RunningApplication{"fake-figma", "com.figma.Desktop"} << true;
        QTest::newRow("names that only contain figma")
            << RunningApplication{"figma-agent", "FigmaAgent"} << false;
    }
    void workspaceEventsOfFigmaOnly() {
        QFETCH(RunningApplication, application);
        QFETCH(bool, figma);
        QCOMPARE(isFigma(application), figma);
        manager->startWorkspaceObservers();
        int refreshes = 0;
        for (auto signal : {&Workspace::applicationActivated, &Workspace::applicationDeactivated,
                            &Workspace::applicationLaunched, &Workspace::applicationTerminated}) {
            (workspace.get()->*signal)(application);
            refreshes += figma ? 1 : 0;
            QTRY_COMPARE(reader->reads(), refreshes);
        }
        QVERIFY(noReadBeyond(refreshes, 100));
    }

    // The file clicked is the one Figma opens: its web URL as figma://, then a refresh a little
    // later; without a usable URL the first running Figma is activated, and nothing is re-read.
    void openTab_data() {
        const RunningApplication figma{"figma", "Figma"};
        const RunningApplication otherFigma{"figma-beta", "com.figma.Desktop"};
        const RunningApplication editor{"kate", "kate"};
        QTest::addColumn<QString>("tabUrl");
        QTest::addColumn<QList<RunningApplication>>("running");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QList<RunningApplication>>("activated");
        const QList<RunningApplication> none;
        for (const auto &[url, opened] :
             {std::pair{"https://www.figma.com/d/K/Name?node-id=1-2#frame", "figma:///d/K/Name"},
              {"https://www.figma.com/d/K/What%3F", "figma:///d/K/What%3F"}})
            QTest::newRow(url) << url << QList{figma} << opened << none;
        QTest::newRow("no URL, figma running")
            << "" << QList{editor, otherFigma, figma} << "" << QList{otherFigma};
        QTest::newRow("unparsable URL, figma not running")
            << "http://[::1" << QList{editor} << "" << none;
    }
    void openTab() {
        QFETCH(QString, tabUrl);
        QFETCH(QList<RunningApplication>, running);
        QFETCH(QString, opened);
        QFETCH(QList<RunningApplication>, activated);
        workspace->running = running;
        manager->openTab(TabItem("closed-K", "t", tabUrl, false));
        QStringList openedUrls;
        for (const QUrl &url : workspace->openedUrls)
            openedUrls.append(url.toString(QUrl::FullyEncoded));
        QCOMPARE(openedUrls, opened.isEmpty() ? QStringList() : QStringList{opened});
        QCOMPARE(workspace->activated, activated);
        QVERIFY(noReadBeyond(0, 50));
        if (!opened.isEmpty())
            QTRY_COMPARE(reader->reads(), 1);
        QVERIFY(noReadBeyond(opened.isEmpty() ? 0 : 1, 150));
    }

    // Quitting with a read, a re-watch and a delayed refresh pending neither crashes nor leaves a
    // watch behind.
    void destroyedWithWorkInFlight() {
        reader->answer(tabs("A"), 200);
        manager->startFileMonitor();
        manager->refresh();
        QTRY_COMPARE(reader->reads(), 1);
        emit watcher->liveWatches().first()->changed(FileWatch::Rename);
        manager->openTab(tabs("A").first());
        manager.reset();
        // Neither the re-watch nor the delayed refresh runs, and no watch survives.
        QVERIFY(noReadBeyond(reader->reads(), 200));
        QVERIFY(watcher->liveWatches().isEmpty());
        QCOMPARE(watcher->watchedPaths.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TabManagerTest)
#include "tst_tabmanager.moc"
