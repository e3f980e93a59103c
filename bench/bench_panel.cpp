#include "panel/MenuBarView.h"
#include "panel/RowListView.h"
#include "panel/model/PanelDerivation.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "support/FakeFileWatcher.h"
#include "support/FakeWorkspace.h"
#include "tabs/TabManager.h"

#include <QEventLoop>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include "PanelBenchSample.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace PanelBenchSample;

namespace {

constexpr int closedCount = 10;
// The stores the shell makes, holding 500 open tabs: 30 expanded folders of 16 (and 2 closed ids
// each), 20 ungrouped tabs, 10 recently closed.
struct Fixture {
    QTemporaryDir directory;
    FakeFileWatcher fileWatcher;
    FakeWorkspace workspace;
    std::shared_ptr<QList<TabItem>> session = std::make_shared<QList<TabItem>>();
    TabManager tabManager{fileWatcher, workspace, options(session)};
    FolderStore folderStore{directory.path()};
    RecentlyClosedStore recentlyClosedStore{directory.path()};
    SelectionStore selectionStore;
    PanelContext context;

    Fixture() {
        context.tabManager = &tabManager;
        context.folderStore = &folderStore;
        context.recentlyClosedStore = &recentlyClosedStore;
        context.selectionStore = &selectionStore;
        int next = 0;
        for (int f = 0; f < folderCount; ++f) {
            const QUuid id = folderStore.createFolder(QStringLiteral("Folder %1").arg(f));
            for (int i = 0; i < tabsPerFolder; ++i) {
                session->append(tab(next++));
                folderStore.addTab(session->last().stableID(), id, {});
            }
            folderStore.addTab(QStringLiteral("closed-a-%1").arg(f), id, {});
            folderStore.addTab(QStringLiteral("closed-b-%1").arg(f), id, {});
        }
        for (int i = 0; i < ungroupedCount; ++i)
            session->append(tab(next++));
        QList<TabItem> closed;
        for (int i = 0; i < closedCount; ++i)
            closed.append(tab(1000 + i));
        recentlyClosedStore.recordClosed(closed, {});

        QEventLoop loop;
        QObject::connect(&tabManager, &TabManager::tabsChanged, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        tabManager.refresh();
        loop.exec();
    }

    static TabManager::Options options(const std::shared_ptr<QList<TabItem>> &session) {
        TabManager::Options options;
        options.readSessionTabs = [session](const QString &) { return *session; };
        return options;
    }

    PanelDerivation::Inputs inputs(const QList<TabItem> &tabs, const QString &search) const {
        return {tabs, false, folderStore, recentlyClosedStore.recentTabs(), search};
    }
};

// The rest of the event-loop turn a rebuild causes: layout, deferred deletes, painting.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

Fixture &fixture() {
    application();
    static Fixture instance;
    return instance;
}

// The least any derivation does: copy the tab list and read every stable id.
void deriveBaseline(benchmark::State &state) {
    const Fixture &data = fixture();
    for (auto _ : state) {
        const QList<TabItem> tabs = data.tabManager.tabs();
        qsizetype length = 0;
        for (const TabItem &item : tabs)
            length += item.stableID().size();
        benchmark::DoNotOptimize(length);
    }
}

void deriveNormalList(benchmark::State &state) {
    const Fixture &data = fixture();
    const PanelDerivation derivation;
    const QList<TabItem> tabs = data.tabManager.tabs();
    for (auto _ : state)
        benchmark::DoNotOptimize(derivation.derive(data.inputs(tabs, QString())));
}

// A query every title matches: the whole list is filtered and collated.
void deriveSearchAll(benchmark::State &state) {
    const Fixture &data = fixture();
    const PanelDerivation derivation;
    const QList<TabItem> tabs = data.tabManager.tabs();
    for (auto _ : state)
        benchmark::DoNotOptimize(derivation.derive(data.inputs(tabs, QStringLiteral("design"))));
}

// A store change that alters nothing shown: every section is kept.
void rebuildUnchanged(benchmark::State &state) {
    Fixture &data = fixture();
    MenuBarView view(data.context);
    view.show();
    for (auto _ : state) {
        view.rebuildNow();
        settle();
    }
}

// Edit mode switched on and off: every row of the list laid out anew, and the list eased from
// the old rows to the new ones as on the button. With `settled`, the timing also covers the rest
// of the turn (layout, painting).
void rebuildEverything(benchmark::State &state, bool settled) {
    Fixture &data = fixture();
    MenuBarView view(data.context);
    view.show();
    bool editing = false;
    for (auto _ : state) {
        editing = !editing;
        view.setEditingFolders(editing);
        view.flushRebuild();
        if (!settled)
            state.PauseTiming();
        settle();
        if (!settled)
            state.ResumeTiming();
    }
}

// A new tab list from the session file (one title changed, as when a file is renamed): the
// whole panel derived and laid out again, and the turn settled.
void rebuildNewTabList(benchmark::State &state) {
    Fixture &data = fixture();
    MenuBarView view(data.context);
    view.show();
    const QList<TabItem> original = *data.session;
    bool renamed = false;
    for (auto _ : state) {
        state.PauseTiming();
        renamed = !renamed;
        *data.session = original;
        if (renamed)
            (*data.session)[0] = TabItem(original[0].id, QStringLiteral("Renamed – Figma"),
                                         original[0].url, original[0].isActive);
        QEventLoop loop;
        QObject::connect(&data.tabManager, &TabManager::tabsChanged, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        data.tabManager.refresh();
        loop.exec();
        state.ResumeTiming();
        view.rebuildNow();
        settle();
    }
    *data.session = original;
}

// Ten selected tabs of the first folder dragged by the list's own mouse handling onto that
// folder's header (they go to its end), and the panel rebuilt. Every drop should write once.
void dropTenTabs(benchmark::State &state) {
    Fixture &data = fixture();
    MenuBarView view(data.context);
    view.show();
    view.flushRebuild();
    RowListView *list = view.list();
    QWidget *viewport = list->viewport();
    const auto send = [viewport](QEvent::Type type, const QPointF &point, Qt::MouseButtons held) {
        QMouseEvent event(type, point, viewport->mapToGlobal(point),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    };
    int writes = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&data.folderStore, &FolderStore::saved, [&writes] { ++writes; });
    for (auto _ : state) {
        state.PauseTiming();
        const QList<TabItem> shown = data.folderStore.tabsInFolder(
            data.folderStore.folders().first(), data.tabManager.tabs());
        for (qsizetype i = 0; i < 10; ++i)
            data.selectionStore.toggle(shown[i].stableID());
        const QPointF from = list->rowRect(*list->rows().rowOfTab(shown[0].stableID())).center();
        const QPointF header = list->rowRect(0).center();
        state.ResumeTiming();
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, from - QPointF(0, 10), Qt::LeftButton);
        send(QEvent::MouseMove, header, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, header, Qt::NoButton);
        view.flushRebuild();
        settle();
    }
    QObject::disconnect(counting);
    state.counters["writes_per_drop"] =
        benchmark::Counter(double(writes) / double(std::max<int64_t>(1, state.iterations())));
}

// One folder collapsed or expanded through the store: the rows laid out again, nothing eased.
// With `changes` above one, the store also reports that many changes in the same turn: folded
// into one rebuild, they cost what one does.
void rebuildOneFolder(benchmark::State &state, int changes) {
    Fixture &data = fixture();
    MenuBarView view(data.context);
    view.show();
    const QUuid folder = data.folderStore.folders().at(folderCount / 2).id;
    for (auto _ : state) {
        data.folderStore.toggleExpanded(folder);
        for (int i = 1; i < changes; ++i)
            emit data.folderStore.foldersChanged();
        view.flushRebuild();
        settle();
    }
}

// Typing a query that matches all 500 tabs, then clearing it: 500 result rows made, then the
// normal list shown again.
void rebuildSearchAll(benchmark::State &state) {
    Fixture &data = fixture();
    MenuBarView view(data.context);
    view.show();
    bool searching = false;
    for (auto _ : state) {
        searching = !searching;
        view.setSearchText(searching ? QStringLiteral("design") : QString());
        view.flushRebuild();
        settle();
    }
}

} // namespace

BENCHMARK(deriveBaseline)->Name("panel_derive/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(deriveNormalList)
    ->Name("panel_derive/normal_500_tabs_30_folders")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(deriveSearchAll)->Name("panel_derive/search_500_matches")->Unit(benchmark::kMicrosecond);
BENCHMARK(rebuildUnchanged)->Name("panel_rebuild/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(rebuildEverything, rebuild_turn, false)
    ->Name("panel_rebuild/full_500_tabs_30_folders")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(rebuildEverything, whole_turn, true)
    ->Name("panel_rebuild/full_500_tabs_30_folders_with_deletes_and_paint")
    ->Unit(benchmark::kMillisecond);
// A fixed count: each new list is read on a worker thread first, outside the timing.
BENCHMARK(rebuildNewTabList)
    ->Name("panel_rebuild/new_tab_list_500_tabs_30_folders")
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(dropTenTabs)->Name("panel_drop/ten_tabs_on_a_folder")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(rebuildOneFolder, one, 1)
    ->Name("panel_rebuild/one_folder_toggled")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(rebuildOneFolder, burst, 30)
    ->Name("panel_rebuild/thirty_changes_in_one_turn")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(rebuildSearchAll)
    ->Name("panel_rebuild/search_500_results")
    ->Unit(benchmark::kMillisecond);
