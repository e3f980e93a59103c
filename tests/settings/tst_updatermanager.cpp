#include "settings/UpdaterManager.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// A one-file HTTP server on the loopback interface: answers every request with the set reply.
class TestHttpServer : public QObject {
public:
    TestHttpServer() {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }

    QUrl url() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(m_server.serverPort()));
    }
    void setReply(int status, QByteArray body) {
        m_status = status;
        m_body = std::move(body);
    }
    int requests() const { return m_requests; }

private:
    void answer(QTcpSocket *socket) {
        m_buffers[socket] += socket->readAll();
        if (!m_buffers[socket].contains("\r\n\r\n"))
            return;
        m_buffers.remove(socket);
        ++m_requests;
        socket->write("HTTP/1.1 " + QByteArray::number(m_status) + " Whatever\r\n" +
                      "Content-Type: application/rss+xml\r\nContent-Length: " +
                      QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n" + m_body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    int m_status = 200;
    QByteArray m_body;
    int m_requests = 0;
};

QByteArray feedWith(const QByteArray &version, const QByteArray &shortVersion) {
    return "<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>"
           "<item><title>Nookery</title><sparkle:version>" +
           version + "</sparkle:version><sparkle:shortVersionString>" + shortVersion +
           "</sparkle:shortVersionString>"
           "<enclosure url=\"https://example.org/nookery.tar.gz\"/></item></channel></rss>";
}

using Outcome = UpdateCheckResult::Outcome;

} // namespace

Q_DECLARE_METATYPE(UpdateCheckResult)

class TestUpdaterManager : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHttpServer> m_server;

    UpdaterConfig config() const {
        return {m_server->url(), QStringLiteral("45"), QStringLiteral("1.2")};
    }

    static UpdateCheckResult waitForResult(UpdaterManager &updater) {
        QSignalSpy finished(&updater, &UpdaterManager::checkFinished);
        [&] { QTRY_COMPARE(finished.count(), 1); }();
        return finished.isEmpty() ? UpdateCheckResult{}
                                  : finished.at(0).at(0).value<UpdateCheckResult>();
    }

private slots:
    void initTestCase() { qRegisterMetaType<UpdateCheckResult>(); }
    void init() { m_server = std::make_unique<TestHttpServer>(); }

    void outcomes_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<Outcome>("outcome");
        QTest::newRow("newer") << 200 << feedWith("46", "1.3") << Outcome::UpdateAvailable;
        QTest::newRow("same") << 200 << feedWith("45", "1.2") << Outcome::UpToDate;
        QTest::newRow("older") << 200 << feedWith("9", "0.9") << Outcome::UpToDate;
        QTest::newRow("no items") << 200 << QByteArray("<rss><channel></channel></rss>")
                                  << Outcome::UpToDate;
        QTest::newRow("not found") << 404 << QByteArray("gone") << Outcome::Failed;
        QTest::newRow("server error") << 500 << QByteArray() << Outcome::Failed;
        QTest::newRow("not a feed") << 200 << QByteArray("<html></html>") << Outcome::Failed;
        QTest::newRow("far too large")
            << 200 << QByteArray(3 * 1024 * 1024, ' ') << Outcome::Failed;
    }

    void outcomes() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(Outcome, outcome);
        m_server->setReply(status, body);
        UpdaterManager updater(config());
        updater.checkForUpdates();
        QVERIFY(updater.isChecking());
        const UpdateCheckResult result = waitForResult(updater);
        QCOMPARE(result.outcome, outcome);
        QVERIFY(result.userInitiated);
        QVERIFY(!updater.isChecking());
        if (outcome == Outcome::Failed)
            QVERIFY(!result.error.isEmpty());
        if (outcome == Outcome::UpdateAvailable) {
            QCOMPARE(result.item.displayVersion(), QStringLiteral("1.3"));
            QCOMPARE(result.item.downloadUrl,
                     QUrl(QStringLiteral("https://example.org/nookery.tar.gz")));
        }
    }

    void unreachableServerIsAPlainError() {
        const QUrl closed = m_server->url();
        m_server.reset();
        UpdaterManager updater({closed, QStringLiteral("45"), QStringLiteral("1.2")});
        updater.checkInBackground();
        const UpdateCheckResult result = waitForResult(updater);
        QCOMPARE(result.outcome, Outcome::Failed);
        QVERIFY(!result.userInitiated);
        QCOMPARE(result.error, QStringLiteral("The update server did not accept the connection."));
    }

    void aSecondRequestJoinsTheRunningCheck() {
        m_server->setReply(200, feedWith("45", "1.2"));
        UpdaterManager updater(config());
        QSignalSpy finished(&updater, &UpdaterManager::checkFinished);
        updater.checkInBackground();
        updater.checkForUpdates();
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(finished.at(0).at(0).value<UpdateCheckResult>().userInitiated);
        QCOMPARE(m_server->requests(), 1);

        // Once it is over, the next request checks again.
        updater.checkForUpdates();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(m_server->requests(), 2);
    }

    void withoutAFeedNothingIsFetched() {
        UpdaterManager updater(UpdaterConfig{QUrl(), QStringLiteral("45"), QStringLiteral("1.2")});
        QVERIFY(!updater.isConfigured());
        QSignalSpy finished(&updater, &UpdaterManager::checkFinished);
        updater.checkForUpdates();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).value<UpdateCheckResult>().outcome, Outcome::NotConfigured);
        QCOMPARE(m_server->requests(), 0);
        // No timer wakes a build without a feed.
        QVERIFY(!updater.findChild<QTimer *>()->isActive());
    }

    void scheduledChecksNeedAFeed() {
        UpdaterManager updater(config());
        const auto *schedule = updater.findChild<QTimer *>();
        QVERIFY(schedule->isActive());
        QVERIFY(schedule->interval() >= 60'000);
    }

    void compiledInConfigurationCarriesTheBuildVersion() {
        const UpdaterConfig config = UpdaterConfig::compiledIn();
        QVERIFY(!config.displayVersion.isEmpty());
        QVERIFY(!config.buildVersion.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUpdaterManager)
#include "tst_updatermanager.moc"
