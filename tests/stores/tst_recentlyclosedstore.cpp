#include "stores/RecentlyClosedStore.h"
#include "support/TestFiles.h"
#include "support/TestTabs.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QDateTime referenceDate(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
const QDateTime start(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
const double startSeconds = referenceDate.secsTo(start);

QByteArray entry(const char *stableID, double closedDate, const QByteArray &extra = {}) {
    return QStringLiteral(R"({"stableID":"%1","title":"T","url":"u","closedDate":%2%3})")
        .arg(stableID, QString::number(closedDate, 'f', 3), extra)
        .toUtf8();
}

} // namespace

class RecentlyClosedStoreTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QDateTime m_now;

    QString filePath() const { return m_dir->filePath("recently_closed.json"); }
    std::unique_ptr<RecentlyClosedStore> makeStore(const QByteArrayList &entries = {}) {
        if (!entries.isEmpty())
            writeFile(filePath(), "[" + entries.join(',') + "]");
        return std::make_unique<RecentlyClosedStore>(m_dir->path(), [this] { return m_now; });
    }
    bool writes(const std::function<void()> &operation) {
        QFile::remove(filePath());
        operation();
        return QFile::exists(filePath());
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_now = start;
    }

    // A closed tab is recorded once, with its thumbnail and date; a tab still open is not.
    void recordsEachTabThatDisappeared() {
        auto store = makeStore();
        QSignalSpy changed(store.get(), &RecentlyClosedStore::closedTabsChanged);
        TabItem b = openTab("B", "Bee");
        b.thumbnailURL = QUrl("https://cdn.example/b.png");
        QVERIFY(writes([&] { store->recordClosed({openTab("A"), b}, {openTab("A")}); }));
        QCOMPARE(store->closedTabs(),
                 (QList<ClosedTab>{{"B", "Bee", b.url, b.thumbnailURL, start}}));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(makeStore()->closedTabs(), store->closedTabs());
        QVERIFY(!writes([&] { store->recordClosed(openTabs({"A"}), openTabs({"N", "A"})); }));
        // Two open tabs of one file give two entries; a known file keeps its date and place.
        store->recordClosed({openTab("D", "first"), openTab("D", "second")}, {});
        m_now = start.addSecs(60);
        store->recordClosed(openTabs({"B", "D"}), {});
        QCOMPARE(stableIDsOf(store->closedTabs()), QStringList({"B", "D", "D"}));
        QCOMPARE(store->closedTabs().first().closedDate, start);
        QCOMPARE(changed.count(), 2);
    }

    // Forgetting saves only when it removed something; remove and clear always save.
    void forgetRemoveAndClear() {
        auto store = makeStore();
        store->recordClosed(openTabs({"A", "B", "C", "A"}), {});
        QSignalSpy changed(store.get(), &RecentlyClosedStore::closedTabsChanged);
        QVERIFY(!writes([&] { store->forgetReopened({"X", "Y"}); }));
        QVERIFY(writes([&] { store->forgetReopened({"C", "X"}); }));
        QCOMPARE(stableIDsOf(store->closedTabs()), QStringList({"A", "B", "A"}));
        QVERIFY(writes([&] { store->remove("A"); }));
        QCOMPARE(stableIDsOf(store->closedTabs()), QStringList{"B"});
        QVERIFY(writes([&] { store->remove("nothing"); }));
        QVERIFY(writes([&] { store->clear(); }));
        QVERIFY(writes([&] { store->clear(); }));
        QCOMPARE(changed.count(), 3);
    }

    // Hidden at once, removed from the file at the next start.
    void expiry_data() {
        QTest::addColumn<qint64>("ageSeconds");
        QTest::addColumn<bool>("kept");
        const qint64 thirtyDays = 30 * 24 * 3600;
        QTest::newRow("just closed") << qint64(0) << true;
        QTest::newRow("exactly 30 days") << thirtyDays << true;
        QTest::newRow("30 days and 1 second") << thirtyDays + 1 << false;
        QTest::newRow("in the future") << qint64(-3600) << true;
    }
    void expiry() {
        QFETCH(qint64, ageSeconds);
        QFETCH(bool, kept);
        auto store = makeStore();
        store->recordClosed(openTabs({"A"}), {});
        m_now = start.addSecs(ageSeconds);
        QCOMPARE(store->recentTabs().size(), kept ? 1 : 0);
        QCOMPARE(store->closedTabs().size(), 1);
        const QByteArray saved = readFile(filePath());
        QCOMPARE(makeStore()->closedTabs().size(), kept ? 1 : 0);
        QCOMPARE(readFile(filePath()) == saved, kept);
    }

    // Tabs closed in one pass at one moment show the last recorded on top, and a pass a
    // millisecond later goes above all of them: its tabs once sorted below the earlier pass's.
    void recentTabsAreNewestFirst_data() {
        QTest::addColumn<bool>("realClock");
        QTest::newRow("test clock") << false;
        QTest::newRow("real clock") << true;
    }
    void recentTabsAreNewestFirst() {
        QFETCH(bool, realClock);
        const auto store = [&] {
            return realClock ? std::make_unique<RecentlyClosedStore>(m_dir->path()) : makeStore();
        };
        auto recording = store();
        recording->recordClosed(openTabs({"A", "B", "C"}), {});
        m_now = m_now.addMSecs(1);
        QTRY_VERIFY(!realClock ||
                    QDateTime::currentDateTimeUtc() > recording->closedTabs().first().closedDate);
        recording->recordClosed(openTabs({"D", "E"}), {});
        const QStringList newestFirst{"E", "D", "C", "B", "A"};
        QCOMPARE(stableIDsOf(recording->recentTabs()), newestFirst);
        QCOMPARE(stableIDsOf(recording->closedTabs()), QStringList({"A", "B", "C", "D", "E"}));
        QCOMPARE(stableIDsOf(store()->recentTabs()), newestFirst);
    }

    // A bad entry, thumbnail included, fails the
    // whole file, which loading never rewrites.
    void loading_data() {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QUrl>("thumbnail");
        const double now = startSeconds;
        QTest::newRow("no thumbnail") << entry("A", now) << QStringList{"A"} << QUrl();
        QTest::newRow("thumbnail")
            << entry("A", now, ",\"thumbnailURL\":\"https://c.example/a%20b\"") << QStringList{"A"}
            << QUrl("https://c.example/a%20b");
        QTest::newRow("thumbnail that is no URL")
            << entry("A", now) + "," + entry("B", now, ",\"thumbnailURL\":\"http://[::1\"")
            << QStringList{} << QUrl();
        QTest::newRow("date as text") << QByteArray(R"({"stableID":"A","title":"T","url":"u",)"
                                                    R"("closedDate":"1"})")
                                      << QStringList{} << QUrl();
        QTest::newRow("huge date stays in the future")
            << entry("A", 1e300) << QStringList{"A"} << QUrl();
    }
    void loading() {
        QFETCH(QByteArray, contents);
        QFETCH(QStringList, ids);
        QFETCH(QUrl, thumbnail);
        auto store = makeStore({contents});
        QCOMPARE(stableIDsOf(store->closedTabs()), ids);
        if (!ids.isEmpty())
            QCOMPARE(store->closedTabs().first().thumbnailURL, thumbnail);
        QCOMPARE(readFile(filePath()), "[" + contents + "]");
    }

    void datesCountFromTheStartOf2001() {
        m_now = QDateTime(QDate(2001, 1, 2), QTime(0, 0, 0, 250), Qt::UTC);
        makeStore()->recordClosed(openTabs({"A"}), {});
        QVERIFY(readFile(filePath()).contains(R"("closedDate":86400.25)"));
        m_now = start;
        const auto store = makeStore({entry("Zero", 0), entry("Now", startSeconds)});
        QCOMPARE(store->closedTabs().size(), 1);
        QCOMPARE(store->closedTabs().first().closedDate, start);
    }
};

QTEST_GUILESS_MAIN(RecentlyClosedStoreTest)
#include "tst_recentlyclosedstore.moc"
