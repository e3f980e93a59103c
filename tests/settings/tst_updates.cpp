#include "settings/Appcast.h"
#include "settings/UpdaterManager.h"
#include "settings/VersionComparison.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

QByteArray appcast(const QByteArray &items) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<rss version=\"2.0\" "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
           "<channel><title>Nookery</title>" +
           items + "</channel></rss>";
}

QByteArray feedWith(const QByteArrayList &versions) {
    QByteArray items;
    for (const QByteArray &version : versions)
        items += "<item><sparkle:version>" + version + "</sparkle:version><enclosure url=\"" +
                 "https://example.org/" + version + ".tar.gz\"/></item>";
    return appcast(items);
}

// Answers every HTTP request on the loopback interface with the set reply.
class TestHttpServer : public QTcpServer {
public:
    int status = 200;
    QByteArray body;
    int requests = 0;

    TestHttpServer() {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                if (!socket->peek(1 << 16).contains("\r\n\r\n"))
                    return; // not the whole request yet
                socket->readAll();
                ++requests;
                socket->write("HTTP/1.1 " + QByteArray::number(status) +
                              " X\r\nContent-Length: " + QByteArray::number(body.size()) +
                              "\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
            });
        });
    }

    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/a").arg(serverPort())); }
};

using Outcome = UpdateCheckResult::Outcome;

} // namespace

// The appcast, version order and the update check against a local HTTP server.
class TestUpdates : public QObject {
    Q_OBJECT

    std::unique_ptr<TestHttpServer> m_server;

    UpdaterConfig config() const { return {m_server->url(), "45", "1.2"}; }

    static UpdateCheckResult resultOf(QSignalSpy &finished) {
        [&] { QTRY_COMPARE(finished.count(), 1); }();
        return finished.isEmpty() ? UpdateCheckResult{}
                                  : finished.takeFirst().at(0).value<UpdateCheckResult>();
    }

private slots:
    void init() { m_server = std::make_unique<TestHttpServer>(); }

    // A failed check says so, never "up to date"; an update is found wherever the feed lists it.
    void outcomes_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<Outcome>("outcome");
        QTest::newRow("newest not first")
            << 200 << feedWith({"44", "46", "45"}) << Outcome::UpdateAvailable;
        QTest::newRow("same") << 200 << feedWith({"45"}) << Outcome::UpToDate;
        QTest::newRow("no items") << 200 << feedWith({}) << Outcome::UpToDate;
        QTest::newRow("not found") << 404 << feedWith({"46"}) << Outcome::Failed;
        QTest::newRow("html") << 200 << QByteArray("<html></html>") << Outcome::Failed;
        QTest::newRow("truncated") << 200 << feedWith({"46"}).chopped(20) << Outcome::Failed;
        QTest::newRow("too large") << 200 << QByteArray(3 << 20, ' ') << Outcome::Failed;
    }

    void outcomes() {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(Outcome, outcome);
        m_server->status = status;
        m_server->body = body;
        UpdaterManager updater(config());
        QSignalSpy finished(&updater, &UpdaterManager::checkFinished);
        updater.checkForUpdates();
        const UpdateCheckResult result = resultOf(finished);
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.error.isEmpty(), outcome != Outcome::Failed);
        if (outcome == Outcome::UpdateAvailable)
            QCOMPARE(result.item.downloadUrl, QUrl("https://example.org/46.tar.gz"));
    }

    // A click during a background check joins it instead of sending a second request.
    void aRequestDuringACheckJoinsIt() {
        m_server->body = feedWith({"45"});
        UpdaterManager updater(config());
        QSignalSpy finished(&updater, &UpdaterManager::checkFinished);
        updater.checkInBackground();
        updater.checkForUpdates();
        QVERIFY(resultOf(finished).userInitiated);
        QCOMPARE(m_server->requests, 1);
        updater.checkForUpdates();
        resultOf(finished);
        QCOMPARE(m_server->requests, 2);
    }

    // Both forms of item are read, and file:, javascript: or ftp: links are never offered.
    void readsItemsAndLeavesOutUnsafeLinks() {
        const auto result = parseAppcast(appcast(
            "<item><sparkle:version>45</sparkle:version><link>https://example.org/p</link>"
            "<sparkle:shortVersionString>1.2</sparkle:shortVersionString>"
            "<enclosure url=\"https://example.org/1.2.tar.gz\"/></item>"
            "<item><enclosure url=\"https://example.org/1.1.tar.gz\" sparkle:version=\"40\" "
            "sparkle:shortVersionString=\"1.1\"/></item>"
            "<item><sparkle:version>30</sparkle:version><link>https://example.org/p</link></item>"
            "<item><link>https://example.org/no-version</link></item>"
            "<item><sparkle:version>50</sparkle:version><enclosure url=\"file:///etc/passwd\"/>"
            "<link>javascript:alert(1)</link></item>"
            "<item><sparkle:version>51</sparkle:version><enclosure url=\"ftp://example.org/a\"/>"
            "<link>https://example.org/p</link></item>"));
        QCOMPARE(result.error, QString());
        QStringList read;
        for (const AppcastItem &item : result.items)
            read << item.displayVersion() + QLatin1Char(' ') + item.downloadUrl.toString();
        QCOMPARE(
            read,
            QStringList({"1.2 https://example.org/1.2.tar.gz", "1.1 https://example.org/1.1.tar.gz",
                         "30 https://example.org/p", "50 ", "51 https://example.org/p"}));
    }

    // Versions ordered as people read them, or an update is missed or the installed one offered:
    // 1.10 after 1.9, a beta before its release.
    void versionOrder_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<int>("order");
        const auto row = [](const char *left, const char *right, int order) {
            QTest::addRow("%s vs %s", left, right)
                << QString::fromUtf8(left) << QString::fromUtf8(right) << order;
        };
        row("1.9", "1.10", -1), row("1.2b1", "1.2", -1), row("1.2b2", "1.2b10", -1);
        row(" 1.0", "1.1 ", -1), row("1.0", "1.0.0", 0);
    }

    void versionOrder() {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(int, order);
        QCOMPARE(qBound(-1, compareVersions(left, right), 1), order);
        QCOMPARE(qBound(-1, compareVersions(right, left), 1), -order);
    }
};

QTEST_GUILESS_MAIN(TestUpdates)
#include "tst_updates.moc"
