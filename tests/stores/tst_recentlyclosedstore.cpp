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

    // A reopened tab leaves the list, and nothing else does; remove and clear are saved.
    void forgetRemoveAndClear() {
        auto store = makeStore();
        store->recordClosed(openTabs({"A", "B", "C", "A"}), {});
        QSignalSpy changed(store.get(), &RecentlyClosedStore::closedTabsChanged);
        QVERIFY(!writes([&] { store->forgetReopened({"X", "Y"}); }));
        QVERIFY(writes([&] { store->forgetReopened({"C", "X"}); }));
        QCOMPARE(stableIDsOf(store->closedTabs()), QStringList({"A", "B", "A"}));
        QVERIFY(writes([&] { store->remove("A"); }));
        QCOMPARE(stableIDsOf(store->closedTabs()), QStringList{"B"});
        QVERIFY(writes([&] { store->clear(); }));
        QCOMPARE(changed.count(), 3);
    }

    // A tab closed 30 days ago is still offered, one a second older is hidden at once and
    // removed from the file at the next start.
    void expiry() {
        for (const auto &[ageSeconds, kept] :
             {std::pair{30 * 24 * 3600, true}, {30 * 24 * 3600 + 1, false}}) {
            init();
            auto store = makeStore();
            store->recordClosed(openTabs({"A"}), {});
            m_now = start.addSecs(ageSeconds);
            QCOMPARE(store->recentTabs().size(), kept ? 1 : 0);
            QCOMPARE(store->closedTabs().size(), 1);
            const QByteArray saved = readFile(filePath());
            QCOMPARE(makeStore()->closedTabs().size(), kept ? 1 : 0);
            QCOMPARE(readFile(filePath()) == saved, kept);
        }
    }

    // Tabs closed in one pass at one moment show the last recorded on top, and a pass a
    // millisecond later goes above all of them: its tabs once sorted below the earlier pass's.
    void recentTabsAreNewestFirst() {
        auto store = makeStore();
        store->recordClosed(openTabs({"A", "B", "C"}), {});
        m_now = m_now.addMSecs(1);
        store->recordClosed(openTabs({"D", "E"}), {});
        const QStringList newestFirst{"E", "D", "C", "B", "A"};
        QCOMPARE(stableIDsOf(store->recentTabs()), newestFirst);
        QCOMPARE(stableIDsOf(store->closedTabs()), QStringList({"A", "B", "C", "D", "E"}));
        QCOMPARE(stableIDsOf(makeStore()->recentTabs()), newestFirst);
    }

    // All or nothing: a bad entry, thumbnail included, fails the whole file, which loading
    // never rewrites; a date far ahead stays in the future rather than wrapping into the past.
    void loading() {
        const double now = startSeconds;
        for (const auto &[contents, loaded, thumbnail] :
             {std::tuple{entry("A", now, ",\"thumbnailURL\":\"https://c.example/a%20b\""),
                         QStringList{"A"}, QUrl("https://c.example/a%20b")},
              {entry("A", now) + "," + entry("B", now, ",\"thumbnailURL\":\"http://[::1\""),
               QStringList{}, QUrl()},
              {entry("A", 1e300), QStringList{"A"}, QUrl()}}) {
            init();
            auto store = makeStore({contents});
            QCOMPARE(stableIDsOf(store->closedTabs()), loaded);
            if (!loaded.isEmpty())
                QCOMPARE(store->closedTabs().first().thumbnailURL, thumbnail);
            QCOMPARE(readFile(filePath()), "[" + contents + "]");
        }
    }

    // Dates count seconds from the start of 2001, as other versions write them: another origin
    // hides every tab or keeps them for ever.
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
