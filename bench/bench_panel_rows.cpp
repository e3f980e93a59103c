#include "panel/FolderSectionView.h"
#include "panel/UngroupedSectionView.h"
#include "stores/FolderStore.h"
#include "stores/SelectionStore.h"

#include <QTemporaryDir>

#include "PanelBenchSample.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace PanelBenchSample;

namespace {

// 30 expanded folders of 16 open tabs each (and 2 closed ids each), 20 ungrouped tabs.
struct Fixture {
    QTemporaryDir directory;
    FolderStore folderStore{directory.path()};
    SelectionStore selectionStore;
    PanelContext context;
    QList<QList<TabItem>> folderTabs;
    QList<TabItem> ungrouped;

    Fixture() {
        context.folderStore = &folderStore;
        context.selectionStore = &selectionStore;
        int next = 0;
        for (int f = 0; f < folderCount; ++f) {
            const QUuid id = folderStore.createFolder(QStringLiteral("Folder %1").arg(f));
            QList<TabItem> members;
            for (int i = 0; i < tabsPerFolder; ++i) {
                members.append(tab(next++));
                folderStore.addTab(members.last().stableID(), id, {});
            }
            folderStore.addTab(QStringLiteral("closed-a-%1").arg(f), id, {});
            folderStore.addTab(QStringLiteral("closed-b-%1").arg(f), id, {});
            folderTabs.append(members);
        }
        for (int i = 0; i < ungroupedCount; ++i)
            ungrouped.append(tab(next++));
    }
};

// What one row costs at the least: a bare widget per tab, placed.
void rowsRebuildBaseline(benchmark::State &state) {
    application();
    for (auto _ : state) {
        auto content = std::make_unique<QWidget>();
        for (int i = 0; i < folderCount * tabsPerFolder + ungroupedCount; ++i)
            (new QWidget(content.get()))->setGeometry(0, i * 52, 420, 52);
        content->resize(420, 600);
        content->show();
        QCoreApplication::sendPostedEvents();
        content.reset();
        QCoreApplication::sendPostedEvents();
    }
}

// The whole normal list rebuilt: every folder section with its rows and lines, the ungrouped
// section, laid out and (when `shown`) shown, which registers every drop zone; painting excluded.
void rebuildSections(benchmark::State &state, bool shown) {
    application();
    Fixture fixture;
    const QList<TabFolder> folders = fixture.folderStore.folders();
    for (auto _ : state) {
        auto content = std::make_unique<QWidget>();
        int top = 0;
        for (int f = 0; f < folderCount; ++f) {
            auto *section = new FolderSectionView(folders[f], fixture.folderTabs[f], false,
                                                  fixture.context, content.get());
            section->setGeometry(0, top, 420, section->sizeHint().height());
            top += section->height();
        }
        auto *section = new UngroupedSectionView(fixture.ungrouped, fixture.context, content.get());
        section->setGeometry(0, top, 420, section->sizeHint().height());
        content->resize(420, top + section->height());
        if (shown)
            content->show();
        QCoreApplication::sendPostedEvents();
        // The old list goes when the new one is in.
        content.reset();
        QCoreApplication::sendPostedEvents();
    }
}

void rowsRebuildShown(benchmark::State &state) {
    rebuildSections(state, true);
}

void rowsRebuildHidden(benchmark::State &state) {
    rebuildSections(state, false);
}

} // namespace

BENCHMARK(rowsRebuildBaseline)->Name("rows_rebuild/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(rowsRebuildShown)
    ->Name("rows_rebuild/500_tabs_30_folders")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(rowsRebuildHidden)
    ->Name("rows_rebuild/500_tabs_30_folders_unregistered")
    ->Unit(benchmark::kMillisecond);
