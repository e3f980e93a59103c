// Another program rewrites the session file as fast as it can while the panel is open: the
// re-reads stay paced by the file watch's settle time and the list ends up showing the last file
// written. How long the GUI thread stalls meanwhile is `make bench`'s (bench_sessionflood).

#include "robustness/SessionFlood.h"

#include <QElapsedTimer>

using namespace std::chrono_literals;

class SessionFloodTest : public QObject {
    Q_OBJECT

private slots:
    // A flood of rewrites must neither re-read the file per write nor leave an older list shown.
    void listEndsOnTheLastFileWrittenWithPacedReads() {
        constexpr int writes = 3000;
        SessionFlood flood;
        QVERIFY(flood.start());
        QElapsedTimer timer;
        timer.start();
        QVERIFY(flood.flood(writes, 3s));
        const qint64 floodMs = timer.elapsed();

        const QList<TabItem> last = parseSessionTabs(SessionFlood::session(writes - 1));
        QTRY_COMPARE_WITH_TIMEOUT(flood.manager->tabs(), last, 10000);
        flood.panel->flushRebuild();
        const QList<TabItem> shown = flood.panel->snapshot().navigableTabs; // the folder's first
        QCOMPARE(QSet<TabItem>(shown.cbegin(), shown.cend()),
                 QSet<TabItem>(last.cbegin(), last.cend()));

        // Each settled delivery gives one re-read, and one more when the watch is renewed after a
        // rename; the time it took to follow the last write adds a delivery or two.
        const int parses = flood.reads;
        const int deliveries = int(timer.elapsed() / flood.options.fileEventSettleTime.count()) + 1;
        QVERIFY2(parses <= 2 * deliveries + 3, qPrintable(QString::number(parses)));
        QVERIFY(parses >= floodMs / 1000); // the watch kept following the file
    }
};

QTEST_MAIN(SessionFloodTest)
#include "tst_sessionflood.moc"
