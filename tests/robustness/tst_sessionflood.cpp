// Another program rewrites the session file as fast as it can while Nookery follows it: the GUI
// thread keeps answering, the re-reads stay paced by the file watch's settle time, and the list
// ends up showing the last file written.

#include "platform/FakeWorkspace.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "stores/RecentlyClosedStore.h"
#include "tabs/SessionReader.h"
#include "tabs/TabManager.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

constexpr int writes = 10000;
constexpr auto floodTime = 10s;
constexpr int heartbeatMs = 5;
constexpr qint64 allowedStallMs = 50;

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

bool writeAll(int fd, const QByteArray &bytes) {
    return ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
}

// Even writes replace the file by renaming a new one over it, odd ones rewrite it in place.
bool writeSession(const QByteArray &path, int n) {
    const QByteArray bytes = session(n);
    if (n % 2 == 0) {
        const QByteArray temporary = path + ".new";
        const int fd =
            ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const bool written = fd >= 0 && writeAll(fd, bytes);
        if (fd >= 0)
            ::close(fd);
        return written && ::rename(temporary.constData(), path.constData()) == 0;
    }
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && writeAll(fd, bytes);
    if (fd >= 0)
        ::close(fd);
    return written;
}

// The longest time the GUI thread went without running a 5 ms timer.
class StallProbe : public QObject {
public:
    StallProbe() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(heartbeatMs);
        connect(&m_timer, &QTimer::timeout, this,
                [this] { m_longestGapMs = std::max(m_longestGapMs, m_sinceLastBeat.restart()); });
        m_sinceLastBeat.start();
        m_timer.start();
    }
    qint64 longestStallMs() const { return m_longestGapMs - heartbeatMs; }

private:
    QTimer m_timer;
    QElapsedTimer m_sinceLastBeat;
    qint64 m_longestGapMs = 0;
};

} // namespace

class SessionFloodTest : public QObject {
    Q_OBJECT

private slots:
    void staysResponsiveWhileTheSessionFileIsRewritten() {
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
        options.sessionFilePath = path;
        options.readSessionTabs = [&reads](const QString &file) {
            ++reads;
            return readSessionTabs(file);
        };
        InotifyFileWatcher fileWatcher;
        FakeWorkspace workspace;
        TabManager manager(fileWatcher, workspace, options);
        RecentlyClosedStore recentlyClosed(dir.filePath("data"));
        manager.setRecentlyClosedStore(&recentlyClosed);

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
        QTRY_COMPARE_WITH_TIMEOUT(manager.tabs(), last, 2000);
        const qint64 stallMs = probe.longestStallMs();
        const int parses = reads.load();
        qInfo("%d writes in %lld ms: %d parses, longest GUI stall %lld ms", writes, floodMs, parses,
              stallMs);

        QVERIFY2(stallMs < allowedStallMs, qPrintable(QString::number(stallMs)));
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
