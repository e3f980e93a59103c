#include "settings/Appcast.h"
#include "settings/VersionComparison.h"

#include <QTest>

namespace {

QByteArray appcast(const QByteArray &items) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
           "<channel><title>Nookery</title>" +
           items + "</channel></rss>";
}

} // namespace

class TestAppcast : public QObject {
    Q_OBJECT

private slots:
    void readsVersionsAndLinks() {
        const auto result = parseAppcast(appcast(
            "<item><title>Nookery 1.2</title><link>https://example.org/release/1.2</link>"
            "<sparkle:version>45</sparkle:version>"
            "<sparkle:shortVersionString>1.2</sparkle:shortVersionString>"
            "<enclosure url=\"https://example.org/nookery-1.2.tar.gz\" length=\"10\"/></item>"
            "<item><title>Old style</title>"
            "<enclosure url=\"https://example.org/nookery-1.1.tar.gz\" sparkle:version=\"40\" "
            "sparkle:shortVersionString=\"1.1\"/></item>"
            "<item><title>Only a link</title><sparkle:version>30</sparkle:version>"
            "<link>https://example.org/release/1.0</link></item>"));
        QCOMPARE(result.error, QString());
        QCOMPARE(result.items.size(), 3);
        QCOMPARE(result.items[0].title, QStringLiteral("Nookery 1.2"));
        QCOMPARE(result.items[0].version, QStringLiteral("45"));
        QCOMPARE(result.items[0].displayVersion(), QStringLiteral("1.2"));
        QCOMPARE(result.items[0].downloadUrl,
                 QUrl(QStringLiteral("https://example.org/nookery-1.2.tar.gz")));
        QCOMPARE(result.items[1].version, QStringLiteral("40"));
        QCOMPARE(result.items[1].shortVersion, QStringLiteral("1.1"));
        QCOMPARE(result.items[2].displayVersion(), QStringLiteral("30"));
        QCOMPARE(result.items[2].downloadUrl,
                 QUrl(QStringLiteral("https://example.org/release/1.0")));
    }

    void unsafeOrMissingPartsAreLeftOut() {
        const auto result = parseAppcast(appcast(
            "<item><title>No version</title><link>https://example.org/x</link></item>"
            "<item><sparkle:version>50</sparkle:version>"
            "<enclosure url=\"file:///etc/passwd\"/>"
            "<link>javascript:alert(1)</link></item>"
            "<item><sparkle:version>51</sparkle:version>"
            "<enclosure url=\"ftp://example.org/a\"/><link>https://example.org/51</link></item>"));
        QCOMPARE(result.items.size(), 2);
        QVERIFY(result.items[0].downloadUrl.isEmpty());
        QCOMPARE(result.items[1].downloadUrl, QUrl(QStringLiteral("https://example.org/51")));
    }

    void brokenDocumentsAreErrors_data() {
        QTest::addColumn<QByteArray>("document");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("html") << QByteArray("<html><body>Not found</body></html>");
        QTest::newRow("truncated") << appcast("<item><sparkle:version>2").left(150);
        QTest::newRow("undeclared prefix")
            << QByteArray("<rss><channel><item><sparkle:version>2</sparkle:version></item>"
                          "</channel></rss>");
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff", 4);
    }

    void brokenDocumentsAreErrors() {
        QFETCH(QByteArray, document);
        const auto result = parseAppcast(document);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(result.items.isEmpty());
    }

    void emptyFeedHasNoItems() {
        const auto result = parseAppcast(appcast(""));
        QCOMPARE(result.error, QString());
        QVERIFY(result.items.isEmpty());
        QVERIFY(!newestItem(result.items));
    }

    void newestItemIsTheHighestVersionNotTheFirst() {
        const auto result =
            parseAppcast(appcast("<item><sparkle:version>1.9</sparkle:version></item>"
                                 "<item><sparkle:version>1.10</sparkle:version></item>"
                                 "<item><sparkle:version>1.10b2</sparkle:version></item>"));
        QCOMPARE(newestItem(result.items)->version, QStringLiteral("1.10"));
    }

    void versionOrder_data() {
        QTest::addColumn<QString>("older");
        QTest::addColumn<QString>("newer");
        QTest::newRow("numeric, not text") << "1.9"
                                           << "1.10";
        QTest::newRow("build numbers") << "45"
                                       << "100";
        QTest::newRow("more parts") << "1.2"
                                    << "1.2.1";
        QTest::newRow("beta before release") << "1.2b1"
                                             << "1.2";
        QTest::newRow("rc before release") << "2.0-rc1"
                                           << "2.0";
        QTest::newRow("beta numbers") << "1.2b2"
                                      << "1.2b10";
        QTest::newRow("beta before rc") << "1.2beta"
                                        << "1.2rc";
        QTest::newRow("spaces") << " 1.0"
                                << "1.1 ";
    }

    void versionOrder() {
        QFETCH(QString, older);
        QFETCH(QString, newer);
        QVERIFY(compareVersions(older, newer) < 0);
        QVERIFY(compareVersions(newer, older) > 0);
    }

    void equalVersions_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::newRow("same") << "1.2.3"
                              << "1.2.3";
        QTest::newRow("trailing zero") << "1.0"
                                       << "1.0.0";
        QTest::newRow("suffix case") << "1.0B1"
                                     << "1.0b1";
    }

    void equalVersions() {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QCOMPARE(compareVersions(left, right), 0);
    }
};

QTEST_GUILESS_MAIN(TestAppcast)
#include "tst_appcast.moc"
