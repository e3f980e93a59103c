#include "panel/PaintedRows.h"
#include "panel/RowListView.h"
#include "panel/model/ListRows.h"
#include "panel/model/RowTransition.h"
#include "stores/SelectionStore.h"

#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QUuid>

#include "PanelBenchSample.h"

#include <benchmark/benchmark.h>

using namespace PanelBenchSample;

namespace {

// 30 expanded folders of 16 open tabs each, 20 ungrouped tabs.
PanelSnapshot sample() {
    PanelSnapshot snapshot;
    snapshot.contentState = ContentState::NormalList;
    int next = 0;
    for (int f = 0; f < folderCount; ++f) {
        FolderContent content{
            TabFolder{QUuid::createUuid(), QStringLiteral("Folder %1").arg(f), {}, true}, {}};
        for (int i = 0; i < tabsPerFolder; ++i) {
            content.tabs.append(tab(next++));
            content.folder.tabIDs.append(content.tabs.last().stableID());
        }
        snapshot.folders.append(content);
    }
    for (int i = 0; i < ungroupedCount; ++i)
        snapshot.ungroupedTabs.append(tab(next++));
    return snapshot;
}

// What the rows cost at the least: the snapshot's tabs copied once.
void rowsRebuildBaseline(benchmark::State &state) {
    application();
    const PanelSnapshot snapshot = sample();
    for (auto _ : state) {
        QList<TabItem> all;
        for (const FolderContent &content : snapshot.folders)
            all.append(content.tabs);
        all.append(snapshot.ungroupedTabs);
        benchmark::DoNotOptimize(all);
    }
}

// The rows of the whole normal list laid out, in or out of edit mode.
void rowsRebuild(benchmark::State &state, bool editing) {
    application();
    const PanelSnapshot snapshot = sample();
    const RowHeights heights = PaintedRows::measuredHeights(24, 420);
    for (auto _ : state)
        benchmark::DoNotOptimize(ListRows::normal(snapshot, editing, false, heights));
}

void rowsRebuildNormal(benchmark::State &state) {
    rowsRebuild(state, false);
}

void rowsRebuildEditMode(benchmark::State &state) {
    rowsRebuild(state, true);
}

// Edit mode switched: the rows of both layouts matched by key, before the first eased frame.
void transitionStart(benchmark::State &state) {
    application();
    const PanelSnapshot snapshot = sample();
    const RowHeights heights = PaintedRows::measuredHeights(24, 420);
    const ListRows normal = ListRows::normal(snapshot, false, false, heights);
    const ListRows editing = ListRows::normal(snapshot, true, false, heights);
    RowTransition transition;
    for (auto _ : state) {
        transition.start(normal, editing, RowTransition::quickMs);
        transition.stop();
    }
}

// One wheel step over the shown list: the scroll and the paint of the visible rows.
void wheelStep(benchmark::State &state) {
    application();
    SelectionStore selection;
    PanelContext context;
    context.selectionStore = &selection;
    RowListView list(context);
    list.resize(420, 580);
    list.setRows(ListRows::normal(sample(), false, false, PaintedRows::measuredHeights(24, 420)));
    list.show();
    QImage image(420, 580, QImage::Format_ARGB32_Premultiplied);
    QScrollBar *bar = list.verticalScrollBar();
    int step = 0;
    for (auto _ : state) {
        bar->setValue((++step % 200) * 20);
        list.viewport()->render(&image);
    }
}

} // namespace

BENCHMARK(rowsRebuildBaseline)->Name("rows_rebuild/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(rowsRebuildNormal)
    ->Name("rows_rebuild/500_tabs_30_folders")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(rowsRebuildEditMode)
    ->Name("rows_rebuild/500_tabs_30_folders_edit_mode")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(transitionStart)
    ->Name("rows_rebuild/edit_mode_transition_start")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(wheelStep)->Name("rows_rebuild/wheel_step_paint")->Unit(benchmark::kMicrosecond);
