#include "panel/MenuBarView.h"
#include "panel/model/PanelDerivation.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "support/FakeFileWatcher.h"
#include "support/FakeWorkspace.h"
#include "tabs/TabManager.h"

#include <QEventLoop>
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

// Edit mode switched on and off: every folder section, row, line and the lower sections are
// built anew on each rebuild. With `settled`, the timing also covers the rest of the turn
// (layout, deleting the old sections, painting).
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

// One folder collapsed or expanded (a click on its header): only its section is built again.
void rebuildOneFolder(benchmark::State &state) {
    Fixture &data = fixture();
    MenuBarView view(data.context);
    view.show();
    const QUuid folder = data.folderStore.folders().at(folderCount / 2).id;
    for (auto _ : state) {
        data.folderStore.toggleExpanded(folder);
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
BENCHMARK(rebuildOneFolder)
    ->Name("panel_rebuild/one_folder_toggled")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(rebuildSearchAll)
    ->Name("panel_rebuild/search_500_results")
    ->Unit(benchmark::kMillisecond);
