#include "platform/FakeFileWatcher.h"
#include "platform/FakeWorkspace.h"
#include "stores/RecentlyClosedStore.h"
#include "tabs/SessionReader.h"
#include "tabs/TabManager.h"

#include <QMutex>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace std::chrono_literals;

namespace {

TabItem tab(const QString &key, bool isActive = false) {
    return TabItem("figma-0-" + key, key + " – Figma", "https://www.figma.com/d/" + key + "/x",
                   isActive);
}

// A session reader whose answers and durations the test sets, counting its reads.
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
    // Reads run on worker threads: each takes the next queued answer, or repeats the last.
    std::function<QList<TabItem>(const QString &)> function() {
        return [this](const QString &) {
            Answer answer;
            {
                QMutexLocker lock(&m_mutex);
                ++m_reads;
                if (!m_answers.isEmpty())
                    m_last = m_answers.takeFirst();
                answer = m_last;
            }
            QThread::msleep(answer.duration.count());
            return answer.tabs;
        };
    }

private:
    struct Answer {
        QList<TabItem> tabs;
        std::chrono::milliseconds duration{0};
    };
    mutable QMutex m_mutex;
    QList<Answer> m_answers;
    Answer m_last;
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

    TabManager::Options options(std::chrono::milliseconds loadingDelay = 2000ms,
                                std::chrono::milliseconds openRefreshDelay = 400ms) {
        auto options = TabManager::Options::standard();
        options.readSessionTabs = reader->function();
        options.loadingDelay = loadingDelay;
        options.openRefreshDelay = openRefreshDelay;
        return options;
    }
    void makeManager(const TabManager::Options &options) {
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
        makeManager(options());
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
        makeManager(options(100ms));
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
        QVERIFY(manager->tabs().first().isActive);
    }

    void closedAndReopenedTabsReachTheStore() {
        RecentlyClosedStore store(storeDir->path());
        store.recordClosed({tab("Gone")}, {});
        store.recordClosed({tab("Back")}, {});
        manager->setRecentlyClosedStore(&store);
        const auto remembered = [&] {
            QStringList ids;
            for (const ClosedTab &closed : store.closedTabs())
                ids.append(closed.stableID);
            return ids;
        };

        // The first read has nothing before it, yet reopened files leave the store.
        reader->answer({tab("A"), tab("B"), tab("Back")});
        refreshAndSettle();
        QCOMPARE(remembered(), QStringList{"Gone"});

        reader->answer({tab("A")});
        refreshAndSettle();
        QCOMPARE(remembered(), (QStringList{"Gone", "B", "Back"}));

        // Recorded once only: later reads no longer list them before either.
        refreshAndSettle();
        QCOMPARE(remembered(), (QStringList{"Gone", "B", "Back"}));

        reader->answer({tab("A"), tab("B")});
        refreshAndSettle();
        QCOMPARE(remembered(), (QStringList{"Gone", "Back"}));

        // An unreadable file counts as every tab closed.
        reader->answer({});
        refreshAndSettle();
        QCOMPARE(remembered(), (QStringList{"Gone", "Back", "A", "B"}));
    }

    void storeGoneBeforeTheReadApplies() {
        reader->answer({tab("A")}, 100ms);
        auto *store = new RecentlyClosedStore(storeDir->path());
        manager->setRecentlyClosedStore(store);
        manager->refresh();
        delete store;
        QTRY_COMPARE(manager->tabs().size(), 1);
        QVERIFY(!manager->recentlyClosedStore());
    }

    void fileEvents_data() {
        QTest::addColumn<FileWatch::Events>("events");
        QTest::addColumn<bool>("rewatches");
        QTest::newRow("write") << FileWatch::Events(FileWatch::Write) << false;
        QTest::newRow("rename") << FileWatch::Events(FileWatch::Rename) << true;
        QTest::newRow("created") << FileWatch::Events(FileWatch::Created) << true;
        QTest::newRow("write and delete") << (FileWatch::Write | FileWatch::Delete) << true;
    }
    void fileEvents() {
        QFETCH(FileWatch::Events, events);
        QFETCH(bool, rewatches);
        manager->startFileMonitor();
        QCOMPARE(watcher->watchedPaths, QStringList{sessionFilePath()});
        QCOMPARE(watcher->lastSettleTime, 200ms);
        FileWatch *first = watcher->liveWatches().value(0);
        QVERIFY(first);

        emit first->changed(events);
        // On a slow machine the re-watch may have read again before this first look.
        QTRY_VERIFY(reader->reads() >= 1);
        if (!rewatches) {
            QTest::qWait(100);
            QCOMPARE(reader->reads(), 1);
            QCOMPARE(watcher->liveWatches(), QList<FileWatch *>{first});
            return;
        }
        // Dropped at once, the path watched afresh after the short delay and read again, as a
        // save may have come while nothing watched.
        QTRY_VERIFY(watcher->liveWatches().isEmpty());
        QTRY_COMPARE(watcher->liveWatches().size(), 1);
        QCOMPARE(watcher->watchedPaths.size(), 2);
        QTRY_COMPARE(reader->reads(), 2);
    }

    void workspaceEventsOfFigmaOnly_data() {
        QTest::addColumn<RunningApplication>("application");
        QTest::addColumn<int>("refreshes");
        QTest::newRow("figma") << RunningApplication{"fake-figma", "com.figma.Desktop"} << 4;
        QTest::newRow("figma by instance") << RunningApplication{"com.figma.Desktop", "Figma"} << 4;
        QTest::newRow("other") << RunningApplication{"gimp", "Gimp"} << 0;
    }
    void workspaceEventsOfFigmaOnly() {
        QFETCH(RunningApplication, application);
        QFETCH(int, refreshes);
        manager->startWorkspaceObservers();
        for (auto signal : {&Workspace::applicationActivated, &Workspace::applicationDeactivated,
                            &Workspace::applicationLaunched, &Workspace::applicationTerminated}) {
            (workspace.get()->*signal)(application);
            QTest::qWait(100);
        }
        QCOMPARE(reader->reads(), refreshes);
    }

    void figmaUrl_data() {
        QTest::addColumn<QString>("tabUrl");
        QTest::addColumn<QString>("expected");
        QTest::newRow("path") << "https://www.figma.com/d/AbC123/Untitled"
                              << "figma:///d/AbC123/Untitled";
        QTest::newRow("query and fragment dropped")
            << "https://www.figma.com/d/K/Name?node-id=1-2#frame"
            << "figma:///d/K/Name";
        QTest::newRow("decoded and re-encoded") << "https://www.figma.com/d/K/A%20B%C3%A9"
                                                << "figma:///d/K/A%20B%C3%A9";
        QTest::newRow("encoded question mark stays in the path")
            << "https://www.figma.com/d/K/What%3F"
            << "figma:///d/K/What%3F";
        QTest::newRow("no path") << "https://www.figma.com"
                                 << "figma://";
        QTest::newRow("unparsable url") << "http://[::1"
                                        << "";
    }
    void figmaUrl() {
        QFETCH(QString, tabUrl);
        QFETCH(QString, expected);
        const QUrl url = TabOpener::figmaUrl(TabItem("figma-0-0", "t", tabUrl, false));
        QCOMPARE(url.toString(QUrl::FullyEncoded), expected);
    }

    void openTabHandsOverTheUrlAndRefreshesLater() {
        makeManager(options(2000ms, 100ms));
        manager->openTab(TabItem("figma-0-0", "t", "https://www.figma.com/d/K/N", false));
        QCOMPARE(workspace->openedUrls, QList<QUrl>{QUrl("figma:///d/K/N")});
        QVERIFY(workspace->activated.isEmpty());
        QTest::qWait(50);
        QCOMPARE(reader->reads(), 0);
        QTRY_COMPARE(reader->reads(), 1);
    }

    void fallbackActivatesTheFirstRunningFigma_data() {
        const RunningApplication figma{"fake-figma", "com.figma.Desktop"};
        const RunningApplication otherFigma{"figma-beta", "com.figma.Desktop"};
        const RunningApplication editor{"kate", "kate"};
        QTest::addColumn<QList<RunningApplication>>("running");
        QTest::addColumn<QList<RunningApplication>>("activated");
        QTest::newRow("figma running")
            << QList{editor, otherFigma, figma} << QList<RunningApplication>{otherFigma};
        QTest::newRow("figma not running") << QList{editor} << QList<RunningApplication>{};
    }
    void fallbackActivatesTheFirstRunningFigma() {
        QFETCH(QList<RunningApplication>, running);
        QFETCH(QList<RunningApplication>, activated);
        workspace->running = running;
        makeManager(options(2000ms, 10ms));
        // A recently closed tab with no stored URL, and one whose URL does not parse.
        manager->openTab(TabItem("closed-K", "t", "", false));
        manager->openTab(TabItem("closed-L", "t", "http://[::1", false));
        QTest::qWait(50);
        QVERIFY(workspace->openedUrls.isEmpty());
        QCOMPARE(workspace->activated, activated + activated);
        QCOMPARE(reader->reads(), 0);
    }

    void destroyedWithWorkInFlight() {
        reader->answer({tab("A")}, 200ms);
        auto options = this->options();
        options.rewatchDelay = 20ms;
        options.openRefreshDelay = 20ms;
        makeManager(options);
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
