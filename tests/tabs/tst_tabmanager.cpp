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

    ScriptedReader *reader = nullptr;
    FakeFileWatcher *watcher = nullptr;
    FakeWorkspace *workspace = nullptr;
    TabManager *manager = nullptr;
    QTemporaryDir *storeDir = nullptr;

    TabManager::Options options(std::chrono::milliseconds loadingDelay = 2000ms) {
        auto options = TabManager::Options::standard();
        options.readSessionTabs = reader->function();
        options.loadingDelay = loadingDelay;
        return options;
    }
    void makeManager(const TabManager::Options &options) {
        delete manager;
        manager = new TabManager(*watcher, *workspace, options);
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
        reader = new ScriptedReader;
        watcher = new FakeFileWatcher;
        workspace = new FakeWorkspace;
        storeDir = new QTemporaryDir;
        makeManager(options());
    }
    void cleanup() {
        delete manager;
        manager = nullptr;
        delete workspace;
        delete watcher;
        delete reader;
        delete storeDir;
    }

    void newerRefreshSupersedesOlder() {
        reader->answer({tab("Old")}, 300ms);
        reader->answer({tab("New")});
        QSignalSpy changed(manager, &TabManager::tabsChanged);

        manager->refresh();
        QTRY_COMPARE(reader->reads(), 1); // the first re-read is running
        manager->refresh();
        QTRY_COMPARE(manager->tabs(), QList<TabItem>{tab("New")});
        QTest::qWait(400); // the first one finishes reading and must change nothing
        QCOMPARE(manager->tabs(), QList<TabItem>{tab("New")});
        QCOMPARE(changed.count(), 1);
    }

    void loadingIndicator_data() {
        QTest::addColumn<int>("readMs");
        QTest::addColumn<QList<bool>>("states");
        QTest::newRow("quick read") << 20 << QList<bool>{};
        QTest::newRow("slow read") << 300 << QList<bool>{true, false};
    }
    void loadingIndicator() {
        QFETCH(int, readMs);
        QFETCH(QList<bool>, states);
        reader->answer({tab("A")}, std::chrono::milliseconds(readMs));
        makeManager(options(100ms));
        QList<bool> seen;
        connect(manager, &TabManager::isLoadingChanged, this,
                [&] { seen.append(manager->isLoading()); });

        manager->refresh();
        QTRY_COMPARE(manager->tabs().size(), 1);
        QTest::qWait(150); // past the delay: a finished re-read leaves the indicator off
        QCOMPARE(seen, states);
    }

    void indicatorStaysOnUntilSomeReadApplies() {
        reader->answer({tab("A")}, 300ms);
        makeManager(options(100ms));
        QSignalSpy loading(manager, &TabManager::isLoadingChanged);
        manager->refresh();
        QTRY_VERIFY(manager->isLoading());
        manager->refresh();
        QVERIFY(manager->isLoading());
        QTRY_COMPARE(manager->tabs().size(), 1);
        QVERIFY(!manager->isLoading());
        QCOMPARE(loading.count(), 2);
    }

    void tabsReplacedOnlyWhenDifferent() {
        QSignalSpy changed(manager, &TabManager::tabsChanged);
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
        QTest::newRow("delete") << FileWatch::Events(FileWatch::Delete) << true;
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

    void unwatchableFileLeavesNoWatch() {
        watcher->watchable = false;
        manager->startFileMonitor();
        QVERIFY(watcher->liveWatches().isEmpty());
        manager->refresh();
        QTRY_COMPARE(reader->reads(), 1);
    }

    void workspaceEventsOfFigmaOnly_data() {
        QTest::addColumn<int>("signalIndex");
        QTest::addColumn<QString>("instance");
        QTest::addColumn<QString>("className");
        QTest::addColumn<int>("refreshes");
        const QList<QByteArray> names{"activated", "deactivated", "launched", "terminated"};
        for (int index = 0; index < names.size(); ++index) {
            QTest::addRow("figma %s", names[index].constData()) << index << "fake-figma"
                                                                << "com.figma.Desktop" << 1;
            QTest::addRow("figma by instance %s", names[index].constData())
                << index << "com.figma.Desktop"
                << "Figma" << 1;
            QTest::addRow("other %s", names[index].constData()) << index << "gimp"
                                                                << "Gimp" << 0;
        }
    }
    void workspaceEventsOfFigmaOnly() {
        QFETCH(int, signalIndex);
        QFETCH(QString, instance);
        QFETCH(QString, className);
        QFETCH(int, refreshes);
        manager->startWorkspaceObservers();
        const RunningApplication application{instance, className};
        const QList<void (Workspace::*)(const RunningApplication &)> signals_{
            &Workspace::applicationActivated, &Workspace::applicationDeactivated,
            &Workspace::applicationLaunched, &Workspace::applicationTerminated};
        (workspace->*signals_[signalIndex])(application);
        QTest::qWait(100);
        QCOMPARE(reader->reads(), refreshes);
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
        delete manager;
        manager = nullptr;
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
