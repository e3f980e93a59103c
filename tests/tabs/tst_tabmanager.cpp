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

    // Shown only when a read outlasts the delay; a second refresh keeps it on until one applies.
    void loadingIndicator() {
        struct Case {
            int readMs;
            int refreshes;
            QList<bool> states;
        };
        for (const auto &[readMs, refreshes, states] :
             {Case{20, 1, {}}, Case{300, 1, {true, false}}, Case{300, 2, {true, false}}}) {
            reader->answer(tabs("A"), readMs);
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
            // Past the delay, a finished re-read leaves the indicator off.
            QVERIFY(!QTest::qWaitFor([&] { return seen != states; }, 150));
        }
    }

    // Tabs read → what the store remembers after. The list is replaced only when it differs.
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

    // Places a, b, c in that order; the tab read is named after the file it came from.
    void placesWatchedUpToTheFileRead_data() {
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("read"); // empty: none exists
        QTest::addColumn<QString>("watched");
        const auto row = [](const char *name, const char *present, const char *read,
                            const char *watched) {
            QTest::newRow(name) << QString(present) << QString(read) << QString(watched);
        };
        row("none yet: every place", "", "", "a b c");
        row("last", "c", "c", "a b c");
        row("middle and last", "b c", "b", "a b");
        row("first", "a c", "a", "a");
    }
    void placesWatchedUpToTheFileRead() {
        QFETCH(QString, present);
        QFETCH(QString, read);
        QFETCH(QString, watched);
        const auto paths = [&](const QString &names) {
            QStringList result;
            for (const QString &name : names.split(' ', Qt::SkipEmptyParts))
                result.append(storeDir->filePath(name));
            return result;
        };
        for (const QString &path : paths(present))
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        TabManager::Options options;
        options.sessionFileCandidates = paths("a b c");
        options.readSessionTabs = [](const QString &path) {
            return tabs(qPrintable(QFileInfo(path).fileName()));
        };
        manager = std::make_unique<TabManager>(*watcher, *workspace, options);
        manager->refresh();
        manager->startFileMonitor();
        QTRY_COMPARE(manager->tabs(), tabs(qPrintable(read)));
        QTRY_COMPARE(manager->missingSessionFiles(),
                     read.isEmpty() ? options.sessionFileCandidates : QStringList());
        QCOMPARE(watcher->watchedPaths, paths(watched));

        // A file appearing at the first place is read from then on, and is all that is watched.
        QVERIFY(QFile(storeDir->filePath("a")).open(QIODevice::WriteOnly));
        emit watcher->liveWatches().first()->changed(FileWatch::Created);
        QTRY_COMPARE(manager->tabs(), tabs("a"));
        QTRY_COMPARE(watcher->watchedPaths.mid(paths(watched).size()), paths("a"));
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
        QVERIFY(noReadBeyond(refreshes, 100));
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
