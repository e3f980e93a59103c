#include "stores/FolderStore.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int tabCount = 1000;
constexpr int folderCount = 50;
constexpr int idsPerFolder = 20;

QString randomKey(QRandomGenerator &random) {
    static const QString alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString key;
    for (int i = 0; i < 22; ++i)
        key += alphabet.at(random.bounded(int(alphabet.size())));
    return key;
}

// A heavy user's session: 1,000 open tabs with mixed-case, accented and numbered titles.
QList<TabItem> openTabs() {
    static const QStringList words = {"Design System", "checkout", "Onboarding", "Mobile App",
                                      "Café Menu",     "Größen",   "Sprint 42",  "prototype",
                                      "Brand",         "Écrans",   "Dashboard",  "icons"};
    QRandomGenerator random(3101);
    QList<TabItem> tabs;
    for (int i = 0; i < tabCount; ++i) {
        const QString title = words.at(random.bounded(int(words.size()))) + " " +
                              QString::number(random.bounded(1, 500)) +
                              QString::fromUtf8(" – Figma");
        tabs.append(TabItem(QStringLiteral("figma-%1-%2").arg(i / 100).arg(i % 100), title,
                            "https://www.figma.com/design/" + randomKey(random) + "/file-" +
                                QString::number(i),
                            false));
    }
    return tabs;
}

const QList<TabItem> &tabs() {
    static const QList<TabItem> list = openTabs();
    return list;
}

// 50 folders of 20 ids: 16 of each are open tabs, 4 are closed files. The first 400 ungrouped
// tabs have a remembered order (reversed), the rest were never arranged.
struct Fixture {
    QTemporaryDir directory;
    std::unique_ptr<FolderStore> store;
    QList<QUuid> folderIDs;

    Fixture() {
        PersistedData data;
        int next = 0;
        for (int f = 0; f < folderCount; ++f) {
            TabFolder folder{QUuid::createUuid(), QStringLiteral("Folder %1").arg(f), {}, true};
            for (int i = 0; i < idsPerFolder; ++i)
                folder.tabIDs.append(i < 16 ? tabs().at(next++).stableID()
                                            : QStringLiteral("closed-%1-%2").arg(f).arg(i));
            data.folders.append(folder);
            folderIDs.append(folder.id);
        }
        for (int i = next + 400; i-- > next;)
            data.ungroupedOrder.append(tabs().at(i).stableID());
        QFile file(directory.filePath("folders.json"));
        if (file.open(QIODevice::WriteOnly))
            file.write(data.encode());
        file.close();
        store = std::make_unique<FolderStore>(directory.path());
    }
};

void stableIDs(benchmark::State &state) {
    for (auto _ : state) {
        for (const TabItem &tab : tabs())
            benchmark::DoNotOptimize(tab.stableID());
    }
}

void ungroupedTabs(benchmark::State &state) {
    Fixture fixture;
    qsizetype shown = 0;
    for (auto _ : state) {
        const QList<TabItem> ungrouped = fixture.store->ungroupedTabs(tabs());
        shown = ungrouped.size();
        benchmark::DoNotOptimize(ungrouped.constData());
    }
    if (shown != tabCount - folderCount * 16)
        state.SkipWithError("wrong ungrouped count");
}

// The first question about a freshly read tab list: every stable id is worked out anew.
void ungroupedTabsOfNewList(benchmark::State &state) {
    Fixture fixture;
    for (auto _ : state) {
        state.PauseTiming();
        QList<TabItem> fresh = tabs();
        fresh.detach();
        state.ResumeTiming();
        benchmark::DoNotOptimize(fixture.store->ungroupedTabs(fresh).constData());
    }
}

void tabsInOneFolder(benchmark::State &state) {
    Fixture fixture;
    const TabFolder folder = fixture.store->folders().at(folderCount / 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture.store->tabsInFolder(folder, tabs()).constData());
}

// What one panel rebuild asks for: every folder's open tabs.
void tabsInEveryFolder(benchmark::State &state) {
    Fixture fixture;
    const QList<TabFolder> folders = fixture.store->folders();
    for (auto _ : state) {
        for (const TabFolder &folder : folders)
            benchmark::DoNotOptimize(fixture.store->tabsInFolder(folder, tabs()).constData());
    }
}

void save(benchmark::State &state) {
    Fixture fixture;
    for (auto _ : state)
        fixture.store->save();
}

// Moves one tab back and forth between two folders in alphabetical position; each call saves.
void addTabByTitle(benchmark::State &state) {
    Fixture fixture;
    const QString moved = tabs().at(tabCount - 1).stableID();
    int turn = 0;
    for (auto _ : state)
        fixture.store->addTab(moved, fixture.folderIDs.at(turn++ % 2), tabs());
}

} // namespace

BENCHMARK(stableIDs)->Name("folder_views/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(ungroupedTabs)->Name("folder_views/ungroupedTabs")->Unit(benchmark::kMicrosecond);
BENCHMARK(ungroupedTabsOfNewList)
    ->Name("folder_views/ungroupedTabs_new_list")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(tabsInOneFolder)->Name("folder_views/tabsInFolder")->Unit(benchmark::kMicrosecond);
BENCHMARK(tabsInEveryFolder)->Name("folder_views/tabsInFolder_x50")->Unit(benchmark::kMicrosecond);
BENCHMARK(save)->Name("folder_add/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(addTabByTitle)->Name("folder_add/addTab_1000_tabs")->Unit(benchmark::kMicrosecond);
