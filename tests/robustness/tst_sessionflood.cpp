// Another program rewrites the session file as fast as it can while the panel is open: the
// re-reads stay paced by the file watch's settle time and the list ends up showing the last file
// written. The GUI thread's longest stall depends on the machine's load: it is reported, and
// `make bench` (which sets NOOKERY_BENCH_RESULTS) lists it against its target.

#include "panel/MenuBarView.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "support/FakeWorkspace.h"
#include "tabs/SessionReader.h"
#include "tabs/TabManager.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr int writes = 10000;
constexpr auto floodTime = 10s;
constexpr int heartbeatMs = 5;

// The n-th session: a few windows of tabs whose number, titles and active tab change each time.
QByteArray session(int n) {
    QByteArray tabs;
    const int count = 5 + n % 20;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            tabs += ',';
        tabs += R"({"title":"File )" + QByteArray::number(i) + " v" + QByteArray::number(n) +
                R"(","path":"/design/K)" + QByteArray::number(i) + R"(/F"})";
    }
    return R"({"windows":[{"activeTabPath":"/design/K)" + QByteArray::number(n % count) +
           R"(/F","tabs":[)" + tabs + "]}]}";
}

// Even writes replace the file by renaming a new one over it, odd ones rewrite it in place.
bool writeSession(const QByteArray &path, int n) {
    const QByteArray target = n % 2 == 0 ? path + ".new" : path;
    const QByteArray bytes = session(n);
    const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ::close(fd);
    return written && (target == path || ::rename(target.constData(), path.constData()) == 0);
}

// Nanoseconds this thread has spent ready to run but waiting for a CPU; 0 where not told.
qint64 runQueueWaitNs(int schedstat) {
    char text[128] = {};
    if (::pread(schedstat, text, sizeof text - 1, 0) <= 0)
        return 0;
    long long onCpu = 0;
    long long waiting = 0;
    return std::sscanf(text, "%lld %lld", &onCpu, &waiting) == 2 ? waiting : 0;
}

// The longest time the GUI thread went without running a 5 ms timer. A gap counts only the time
// the thread ran or was blocked: time spent waiting for a CPU that other programs held is the
// machine's load, not a stall of ours.
class StallProbe : public QObject {
public:
    StallProbe()
        : m_schedstat(::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC)) {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(heartbeatMs);
        connect(&m_timer, &QTimer::timeout, this, &StallProbe::beat);
        m_lastWaitNs = runQueueWaitNs(m_schedstat);
        m_sinceLastBeat.start();
        m_timer.start();
    }
    ~StallProbe() override {
        if (m_schedstat >= 0)
            ::close(m_schedstat);
    }
    qint64 longestStallMs() const { return m_longestStallNs / 1000000 - heartbeatMs; }
    qint64 longestGapMs() const { return m_longestGapNs / 1000000 - heartbeatMs; }

private:
    void beat() {
        const qint64 gapNs = m_sinceLastBeat.nsecsElapsed();
        m_sinceLastBeat.restart();
        const qint64 waitNs = runQueueWaitNs(m_schedstat);
        m_longestGapNs = std::max(m_longestGapNs, gapNs);
        m_longestStallNs = std::max(m_longestStallNs, gapNs - (waitNs - m_lastWaitNs));
        m_lastWaitNs = waitNs;
    }

    int m_schedstat;
    QTimer m_timer;
    QElapsedTimer m_sinceLastBeat;
    qint64 m_lastWaitNs = 0;
    qint64 m_longestGapNs = 0;
    qint64 m_longestStallNs = 0;
};

// Appends the figure to the benchmark run's results, when there is one.
void reportForBenchmarks(qint64 stallMs) {
    QFile results(qEnvironmentVariable("NOOKERY_BENCH_RESULTS"));
    if (results.fileName().isEmpty() || !results.open(QIODevice::Append | QIODevice::Text))
        return;
    results.write("session_flood_stall_ms=" + QByteArray::number(stallMs) + '\n');
}

} // namespace

class SessionFloodTest : public QObject {
    Q_OBJECT

private slots:
    void panelStaysResponsiveWhileTheSessionFileIsRewritten() {
        // In memory where possible: a disk file system flushes each file renamed over another,
        // and the writer would fall far behind 1000 writes a second.
        const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm")
                                 : QDir::tempPath();
        QTemporaryDir dir(base + QStringLiteral("/nookery-flood-XXXXXX"));
        QVERIFY(dir.isValid());
        const QString path = dir.filePath("settings.json");
        QVERIFY(writeSession(QFile::encodeName(path), 1));

        std::atomic<int> reads = 0;
        TabManager::Options options = TabManager::Options::standard();
        options.sessionFileCandidates = {path};
        options.readSessionTabs = [&reads](const QString &file) {
            ++reads;
            return readSessionTabs(file);
        };
        InotifyFileWatcher fileWatcher;
        FakeWorkspace workspace;
        TabManager manager(fileWatcher, workspace, options);
        RecentlyClosedStore recentlyClosed(dir.filePath("data"));
        FolderStore folders(dir.filePath("data"));
        SelectionStore selection;
        connect(&manager, &TabManager::tabsMayHaveClosed, &recentlyClosed,
                &RecentlyClosedStore::recordClosed);
        folders.addTab("K3", folders.createFolder("Pinned"), {});

        PanelContext context;
        context.tabManager = &manager;
        context.folderStore = &folders;
        context.recentlyClosedStore = &recentlyClosed;
        context.selectionStore = &selection;
        MenuBarView panel(context);
        panel.show();

        manager.refresh();
        manager.startFileMonitor();
        QTRY_COMPARE(manager.tabs().size(), 6);
        reads = 0;

        StallProbe probe;
        std::atomic<bool> allWritten = true;
        std::atomic<bool> writerDone = false;
        const QByteArray encodedPath = QFile::encodeName(path);
        QElapsedTimer flood;
        flood.start();
        std::thread writer([&] {
            const auto start = std::chrono::steady_clock::now();
            for (int n = 0; n < writes; ++n) {
                std::this_thread::sleep_until(start +
                                              std::chrono::microseconds(floodTime) * n / writes);
                if (!writeSession(encodedPath, n))
                    allWritten = false;
            }
            writerDone = true;
        });
        while (!writerDone)
            QTest::qWait(5);
        writer.join();
        const qint64 floodMs = flood.elapsed();
        QVERIFY(allWritten);

        const QList<TabItem> last = parseSessionTabs(session(writes - 1));
        QTRY_COMPARE_WITH_TIMEOUT(manager.tabs(), last, 10000);
        panel.flushRebuild();
        const QList<TabItem> shown = panel.snapshot().navigableTabs; // the folder's tab first
        QCOMPARE(QSet<TabItem>(shown.cbegin(), shown.cend()),
                 QSet<TabItem>(last.cbegin(), last.cend()));
        const qint64 stallMs = probe.longestStallMs();
        const int parses = reads.load();
        qInfo("%d writes in %lld ms: %d parses, longest GUI stall %lld ms (%lld ms with the waits "
              "for a CPU)",
              writes, floodMs, parses, stallMs, probe.longestGapMs());

        reportForBenchmarks(stallMs);
        // Each settled delivery gives one re-read, and one more when the watch is renewed after a
        // rename; the time it took to follow the last write adds a delivery or two.
        const qint64 settleMs = options.fileEventSettleTime.count();
        const int deliveries = int(flood.elapsed() / settleMs) + 1;
        QVERIFY2(parses <= 2 * deliveries + 3, qPrintable(QString::number(parses)));
        QVERIFY(parses >= floodMs / 1000); // the watch kept following the file
    }
};

QTEST_MAIN(SessionFloodTest)
#include "tst_sessionflood.moc"
