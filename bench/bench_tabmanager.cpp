// How fast a change of Figma's session file reaches the tab list, through the real inotify
// watch, the 0.2 s settle and a parse on the worker pool.

#include "platform/linux/InotifyFileWatcher.h"
#include "support/FakeWorkspace.h"
#include "tabs/SessionReader.h"
#include "tabs/TabManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTemporaryDir>
#include <atomic>

#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono_literals;

QCoreApplication &application() {
    static int argc = 1;
    static char name[] = "bench_tabmanager";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// A session of `tabCount` tabs in three windows; `variant` changes every title.
QByteArray session(int tabCount, int variant) {
    QJsonArray windows;
    for (int window = 0; window < 3; ++window) {
        QJsonArray tabs;
        for (int tab = window; tab < tabCount; tab += 3) {
            const QString key = QStringLiteral("Key%1x%2").arg(tab).arg(window);
            tabs.append(
                QJsonObject{{"title", QStringLiteral("File %1 v%2 – Figma").arg(tab).arg(variant)},
                            {"path", "/design/" + key + "/File"},
                            {"thumbnail", QJsonObject{{"url", "file:///tmp/" + key + ".png"}}}});
        }
        windows.append(QJsonObject{{"tabs", tabs}});
    }
    return QJsonDocument(QJsonObject{{"windows", windows}}).toJson(QJsonDocument::Compact);
}

void writeInPlace(const QString &path, const QByteArray &data) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(data);
}

void writeByReplacing(const QString &path, const QByteArray &data) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(data);
        file.commit();
    }
}

// Lets the event loop run until `done` or the deadline.
template <typename Condition> bool spinUntil(Condition done, std::chrono::milliseconds limit) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limit.count())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return true;
}

struct Fixture {
    QTemporaryDir home;
    InotifyFileWatcher watcher;
    FakeWorkspace workspace;
    std::atomic<int> parses = 0;
    std::unique_ptr<TabManager> manager;

    explicit Fixture(int tabCount) {
        application();
        auto options = TabManager::Options::standard();
        const QString sessionFile = home.filePath("settings.json");
        options.sessionFileCandidates = {sessionFile};
        options.readSessionTabs = [this](const QString &path) {
            ++parses;
            return readSessionTabs(path);
        };
        writeInPlace(sessionFile, session(tabCount, 0));
        manager = std::make_unique<TabManager>(watcher, workspace, options);
        manager->refresh();
        manager->startFileMonitor();
        spinUntil([&] { return !manager->tabs().isEmpty(); }, 5s);
    }
    QString path() const { return home.filePath("settings.json"); }
};

// Iteration time: from the write to the new list applied on the GUI thread, minus the settle
// time; the whole latency is the counter "latency_ms".
void writeToApplied(benchmark::State &state, void (*write)(const QString &, const QByteArray &)) {
    const int tabCount = int(state.range(0));
    Fixture fixture(tabCount);
    QList<QByteArray> variants{session(tabCount, 1), session(tabCount, 2)};
    int iteration = 0;
    double latencySum = 0;
    for (auto _ : state) {
        const QList<TabItem> before = fixture.manager->tabs();
        QElapsedTimer timer;
        timer.start();
        write(fixture.path(), variants[iteration++ % 2]);
        if (!spinUntil([&] { return fixture.manager->tabs() != before; }, 5s)) {
            state.SkipWithError("the list did not follow");
            break;
        }
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        latencySum += seconds;
        state.SetIterationTime(std::max(0.0, seconds - 0.2));
        // Quiet again (re-watched, caught up) before the next write.
        spinUntil([] { return false; }, 300ms);
    }
    state.counters["latency_ms"] = latencySum * 1000 / double(std::max(1, iteration));
}

void burstOfWrites(benchmark::State &state) {
    Fixture fixture(25);
    const QList<QByteArray> variants{session(25, 1), session(25, 2)};
    for (auto _ : state) {
        fixture.parses = 0;
        // 1,000 writes spread over one second, the event loop running in between.
        QElapsedTimer timer;
        timer.start();
        for (int write = 0; write < 1000; ++write) {
            writeInPlace(fixture.path(), variants[write % 2]);
            do
                QCoreApplication::processEvents();
            while (timer.elapsed() < write + 1);
        }
        state.counters["writing_s"] = double(timer.elapsed()) / 1000;
        spinUntil([] { return false; }, 600ms);
        state.counters["parses"] = fixture.parses.load();
    }
}

// A typical session and a heavy one, ten writes each.
void latencyRuns(benchmark::internal::Benchmark *benchmark) {
    benchmark->Arg(25)->Arg(1000)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(writeToApplied, inPlace, &writeInPlace)->Apply(latencyRuns);
BENCHMARK_CAPTURE(writeToApplied, atomicReplace, &writeByReplacing)->Apply(latencyRuns);
BENCHMARK(burstOfWrites)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
