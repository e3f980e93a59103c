#include "stores/RecentlyClosedStore.h"
#include "support/FakeFileWatcher.h"
#include "support/FakeWorkspace.h"
#include "support/TestTabs.h"
#include "tabs/FigmaApplication.h"
#include "tabs/TabManager.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace std::chrono_literals;

namespace {

TabItem tab(const QString &key, bool isActive = false) {
    return openTab(key, key, isActive);
}

// Session reads on worker threads: each takes the next queued answer, or repeats the last.
class ScriptedReader {
public:
    void answer(const QList<TabItem> &tabs, std::chrono::milliseconds duration = 0ms) {
        QMutexLocker lock(&m_mutex);
        m_answers.append({tabs, duration});
    }
    int reads() const {
        QMutexLocker lock(&m_mutex);
        return m_reads;
    }
    QList<TabItem> read() {
        std::pair<QList<TabItem>, std::chrono::milliseconds> answer;
        {
            QMutexLocker lock(&m_mutex);
            ++m_reads;
            if (!m_answers.isEmpty())
                m_last = m_answers.takeFirst();
            answer = m_last;
        }
        QThread::msleep(answer.second.count());
        return answer.first;
    }

private:
    mutable QMutex m_mutex;
    QList<std::pair<QList<TabItem>, std::chrono::milliseconds>> m_answers;
    std::pair<QList<TabItem>, std::chrono::milliseconds> m_last;
    int m_reads = 0;
};

} // namespace

class TabManagerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedReader> reader;
    std::unique_ptr<FakeFileWatcher> watcher;
    std::unique_ptr<FakeWorkspace> workspace;
    std::unique_ptr<QTemporaryDir> storeDir;
    std::unique_ptr<TabManager> manager; // last: goes first

    void makeManager(std::chrono::milliseconds loadingDelay = 2000ms,
                     std::chrono::milliseconds openRefreshDelay = 400ms,
                     std::chrono::milliseconds rewatchDelay = 50ms) {
        auto options = TabManager::Options::standard();
        options.sessionFileCandidates = {storeDir->filePath("settings.json")};
        options.readSessionTabs = [this](const QString &) { return reader->read(); };
        options.loadingDelay = loadingDelay;
        options.openRefreshDelay = openRefreshDelay;
        options.rewatchDelay = rewatchDelay;
        manager.reset();
        manager = std::make_unique<TabManager>(*watcher, *workspace, options);
    }
    // Refreshes and waits until the re-read has been applied.
    void refreshAndSettle() {
        const int before = reader->reads();
        manager->refresh();
        QTRY_COMPARE(reader->reads(), before + 1);
        QTest::qWait(20);
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

    void newerRefreshSupersedesOlder() {
        reader->answer({tab("Old")}, 300ms);
        reader->answer({tab("New")});
        QSignalSpy changed(manager.get(), &TabManager::tabsChanged);
        manager->refresh();
        QTRY_COMPARE(reader->reads(), 1); // the first re-read is running
        manager->refresh();
        QTRY_COMPARE(manager->tabs(), QList<TabItem>{tab("New")});
        QTest::qWait(400); // the first one finishes reading and must change nothing
        QCOMPARE(manager->tabs(), QList<TabItem>{tab("New")});
        QCOMPARE(changed.count(), 1);
    }

    // Shown only when a read outlasts the delay; a second refresh keeps it on until one applies.
    void loadingIndicator_data() {
        QTest::addColumn<int>("readMs");
        QTest::addColumn<int>("refreshes");
        QTest::addColumn<QList<bool>>("states");
        QTest::newRow("quick read") << 20 << 1 << QList<bool>{};
        QTest::newRow("slow read") << 300 << 1 << QList<bool>{true, false};
        QTest::newRow("slow read, refreshed while on") << 300 << 2 << QList<bool>{true, false};
    }
    void loadingIndicator() {
        QFETCH(int, readMs);
        QFETCH(int, refreshes);
        QFETCH(QList<bool>, states);
        reader->answer({tab("A")}, std::chrono::milliseconds(readMs));
        makeManager(100ms);
        QList<bool> seen;
        connect(manager.get(), &TabManager::isLoadingChanged, this,
                [&] { seen.append(manager->isLoading()); });
        manager->refresh();
        if (refreshes == 2) {
            QTRY_VERIFY(manager->isLoading());
            manager->refresh();
        }
        QTRY_COMPARE(manager->tabs().size(), 1);
        QTest::qWait(150); // past the delay: a finished re-read leaves the indicator off
        QCOMPARE(seen, states);
    }

    void tabsReplacedOnlyWhenDifferent() {
        QSignalSpy changed(manager.get(), &TabManager::tabsChanged);
        reader->answer({tab("A"), tab("B")});
        refreshAndSettle();
        refreshAndSettle();
        QCOMPARE(changed.count(), 1);
        reader->answer({tab("A", true), tab("B")});
        refreshAndSettle();
        QCOMPARE(changed.count(), 2);
    }

    void closedAndReopenedTabsReachTheStore() {
        auto store = std::make_unique<RecentlyClosedStore>(storeDir->path());
        store->recordClosed({tab("Gone"), tab("Back")}, {});
        connect(manager.get(), &TabManager::tabsMayHaveClosed, store.get(),
                &RecentlyClosedStore::recordClosed);
        connect(manager.get(), &TabManager::openTabsRead, store.get(),
                &RecentlyClosedStore::forgetReopened);
        // Tabs read → what the store remembers after.
        const QList<std::pair<QStringList, QStringList>> steps{
            {{"A", "B", "Back"}, {"Gone"}}, // nothing read before, yet reopened files leave
            {{"A"}, {"Gone", "B", "Back"}},
            {{"A"}, {"Gone", "B", "Back"}}, // recorded once only
            {{"A", "B"}, {"Gone", "Back"}},
            {{}, {"Gone", "Back", "A", "B"}}, // an unreadable file: every tab closed
        };
        for (const auto &[read, remembered] : steps) {
            reader->answer(openTabs(read));
            refreshAndSettle();
            QStringList ids;
            for (const ClosedTab &closed : store->closedTabs())
                ids.append(closed.stableID);
            QCOMPARE(ids, remembered);
        }
        // The store goes while a read is running: the read applies without it.
        reader->answer({tab("A")}, 100ms);
        manager->refresh();
        store.reset();
        QTRY_COMPARE(manager->tabs().size(), 1);
    }

    void fileEvents_data() {
        QTest::addColumn<FileWatch::Events>("events");
        QTest::addColumn<bool>("rewatches");
        QTest::newRow("write") << FileWatch::Events(FileWatch::Write) << false;
        QTest::newRow("rename") << FileWatch::Events(FileWatch::Rename) << true;
        QTest::newRow("write and delete") << (FileWatch::Write | FileWatch::Delete) << true;
    }
    void fileEvents() {
        QFETCH(FileWatch::Events, events);
        QFETCH(bool, rewatches);
        manager->startFileMonitor();
        QCOMPARE(watcher->watchedPaths, QStringList{storeDir->filePath("settings.json")});
        QCOMPARE(watcher->lastSettleTime, 200ms);
        FileWatch *first = watcher->liveWatches().value(0);
        QVERIFY(first);
        emit first->changed(events);
        // A replaced file is watched afresh after a short delay and read again, as a save may
        // have come while nothing watched.
        QTRY_COMPARE(reader->reads(), rewatches ? 2 : 1);
        QTest::qWait(50);
        QCOMPARE(reader->reads(), rewatches ? 2 : 1);
        QCOMPARE(watcher->watchedPaths.size(), rewatches ? 2 : 1);
        QCOMPARE(watcher->liveWatches().size(), 1);
    }

    // Places a, b, c in that order; the tab read is named after the file it came from.
    void placesWatchedUpToTheFileRead_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("read"); // empty: none exists
        QTest::addColumn<QStringList>("watched");
        QTest::newRow("none yet: every place") << QStringList{} << "" << QStringList{"a", "b", "c"};
        QTest::newRow("last") << QStringList{"c"} << "c" << QStringList{"a", "b", "c"};
        QTest::newRow("middle and last") << QStringList{"b", "c"} << "b" << QStringList{"a", "b"};
        QTest::newRow("first") << QStringList{"a", "c"} << "a" << QStringList{"a"};
    }
    void placesWatchedUpToTheFileRead() {
        QFETCH(QStringList, present);
        QFETCH(QString, read);
        QFETCH(QStringList, watched);
        const QDir dir(storeDir->path());
        const auto paths = [&](const QStringList &names) {
            QStringList result;
            for (const QString &name : names)
                result.append(dir.filePath(name));
            return result;
        };
        for (const QString &path : paths(present))
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        TabManager::Options options;
        options.sessionFileCandidates = paths({"a", "b", "c"});
        options.readSessionTabs = [](const QString &path) {
            return path.isEmpty() ? QList<TabItem>() : QList{tab(QFileInfo(path).fileName())};
        };
        manager = std::make_unique<TabManager>(*watcher, *workspace, options);
        manager->refresh();
        manager->startFileMonitor();
        QTRY_COMPARE(manager->tabs(), read.isEmpty() ? QList<TabItem>() : QList{tab(read)});
        QTRY_COMPARE(manager->missingSessionFiles(),
                     read.isEmpty() ? options.sessionFileCandidates : QStringList());
        QCOMPARE(watcher->watchedPaths, paths(watched));

        // A file appearing at the first place is read from then on, and is all that is watched.
        QVERIFY(QFile(dir.filePath("a")).open(QIODevice::WriteOnly));
        emit watcher->liveWatches().first()->changed(FileWatch::Created);
        QTRY_COMPARE(manager->tabs(), QList{tab("a")});
        QTRY_COMPARE(watcher->watchedPaths.mid(watched.size()), paths({"a"}));
        QCOMPARE(watcher->liveWatches().size(), 1);
        QCOMPARE(manager->missingSessionFiles(), QStringList());
    }

    // Figma's windows by WM_CLASS; each of its launches, terminations and focus changes
    // refreshes once, and other programs' do not.
    void workspaceEventsOfFigmaOnly_data() {
        QTest::addColumn<RunningApplication>("application");
        QTest::addColumn<bool>("figma");
        QTest::newRow("Linux client") << RunningApplication{"figma", "Figma"} << true;
        QTest::newRow("class in capitals") << RunningApplication{"electron", "FIGMA"} << true;
        QTest::newRow("instance only") << RunningApplication{"Figma", "Electron"} << true;
        QTest::newRow("macOS identifier")
            << RunningApplication{"fake-figma", "com.figma.Desktop"} << true;
        QTest::newRow("macOS identifier in lower case")
            << RunningApplication{"com.figma.desktop", "Chromium"} << true;
        QTest::newRow("other") << RunningApplication{"gimp", "Gimp"} << false;
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
        QVERIFY(!QTest::qWaitFor([&] { return reader->reads() > refreshes; }, 100));
    }

    // A tab's web URL opens as figma:// and refreshes a little later; without a usable URL the
    // first running Figma is activated instead, and nothing is re-read.
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
             {std::pair{"https://www.figma.com/d/AbC123/Untitled", "figma:///d/AbC123/Untitled"},
              {"https://www.figma.com/d/K/Name?node-id=1-2#frame", "figma:///d/K/Name"},
              {"https://www.figma.com/d/K/A%20B%C3%A9", "figma:///d/K/A%20B%C3%A9"},
              {"https://www.figma.com/d/K/What%3F", "figma:///d/K/What%3F"},
              {"https://www.figma.com", "figma://"}})
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
        makeManager(2000ms, 100ms);
        manager->openTab(TabItem("closed-K", "t", tabUrl, false));
        QCOMPARE(workspace->openedUrls.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(workspace->openedUrls.first().toString(QUrl::FullyEncoded), opened);
        QCOMPARE(workspace->activated, activated);
        QTest::qWait(50);
        QCOMPARE(reader->reads(), 0);
        QTest::qWait(150);
        QCOMPARE(reader->reads(), opened.isEmpty() ? 0 : 1);
    }

    void destroyedWithWorkInFlight() {
        reader->answer({tab("A")}, 200ms);
        makeManager(2000ms, 20ms, 20ms);
        manager->startFileMonitor();
        manager->refresh();
        QTRY_COMPARE(reader->reads(), 1);
        emit watcher->liveWatches().first()->changed(FileWatch::Rename);
        manager->openTab(tab("A"));
        manager.reset();
        const int reads = reader->reads();
        // Neither the re-watch nor the delayed refresh runs, and no watch survives.
        QTest::qWait(100);
        QVERIFY(watcher->liveWatches().isEmpty());
        QCOMPARE(watcher->watchedPaths.size(), 1);
        QCOMPARE(reader->reads(), reads);
    }
};

QTEST_GUILESS_MAIN(TabManagerTest)
#include "tst_tabmanager.moc"
