// The GUI thread's longest stall while another program rewrites the session file 1,000 times a
// second for 10 s with the whole panel open: bench_sessionflood <results file>, which gets
// "session_flood_stall_ms=<ms>" appended.

#include "robustness/SessionFlood.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

using namespace std::chrono_literals;

namespace {

constexpr int heartbeatMs = 5;

// The longest time the GUI thread went without running a 5 ms timer. A gap counts only the time
// the thread ran or was blocked: time spent waiting for a CPU that other programs held (from
// /proc's schedstat) is the machine's load, not a stall of ours.
class StallProbe : public QObject {
public:
    StallProbe() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.callOnTimeout(this, [this] {
            const qint64 gapNs = m_sinceLastBeat.nsecsElapsed();
            m_sinceLastBeat.restart();
            const qint64 waitNs = runQueueWaitNs();
            m_longestGapNs = std::max(m_longestGapNs, gapNs);
            m_longestStallNs = std::max(m_longestStallNs, gapNs - (waitNs - m_lastWaitNs));
            m_lastWaitNs = waitNs;
        });
        m_lastWaitNs = runQueueWaitNs();
        m_sinceLastBeat.start();
        m_timer.start(heartbeatMs);
    }
    ~StallProbe() override { ::close(m_schedstat); }
    qint64 longestStallMs() const { return m_longestStallNs / 1000000 - heartbeatMs; }
    qint64 longestGapMs() const { return m_longestGapNs / 1000000 - heartbeatMs; }

private:
    // Nanoseconds this thread has spent ready to run but waiting for a CPU; 0 where not told.
    qint64 runQueueWaitNs() const {
        char text[128] = {};
        long long onCpu = 0;
        long long waiting = 0;
        return ::pread(m_schedstat, text, sizeof text - 1, 0) > 0 &&
                       std::sscanf(text, "%lld %lld", &onCpu, &waiting) == 2
                   ? waiting
                   : 0;
    }

    const int m_schedstat = ::open("/proc/thread-self/schedstat", O_RDONLY | O_CLOEXEC);
    QTimer m_timer;
    QElapsedTimer m_sinceLastBeat;
    qint64 m_lastWaitNs = 0;
    qint64 m_longestGapNs = 0;
    qint64 m_longestStallNs = 0;
};

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_sessionflood <results file>\n");
        return 2;
    }
    constexpr int writes = 10000;
    SessionFlood flood;
    if (!flood.start())
        return 1;
    StallProbe probe;
    QElapsedTimer timer;
    timer.start();
    if (!flood.flood(writes, 10s))
        return 1;
    std::fprintf(stderr,
                 "%d writes in %lld ms: %d parses, longest GUI stall %lld ms (%lld ms with "
                 "the waits for a CPU)\n",
                 writes, timer.elapsed(), int(flood.reads), probe.longestStallMs(),
                 probe.longestGapMs());
    QFile results(QFile::decodeName(argv[1]));
    return results.open(QIODevice::Append | QIODevice::Text) &&
                   results.write("session_flood_stall_ms=" +
                                 QByteArray::number(probe.longestStallMs()) + '\n') > 0
               ? 0
               : 1;
}
