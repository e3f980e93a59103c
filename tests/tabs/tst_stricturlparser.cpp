#include "tabs/StrictUrlParser.h"

#include <QRandomGenerator>
#include <QTest>

// The parser must answer exactly as a strict parse of the whole text does.
static void compareWithStrictParse(StrictUrlParser &parser, const QString &text) {
    QUrl expected(text, QUrl::StrictMode);
    if (!expected.isValid() || expected.isEmpty())
        expected = QUrl();
    const QUrl parsed = parser.parse(text);
    QVERIFY2(parsed == expected, qPrintable(text));
    QCOMPARE(parsed.toString(QUrl::FullyEncoded), expected.toString(QUrl::FullyEncoded));
    QCOMPARE(parsed.hasQuery(), expected.hasQuery());
    QCOMPARE(parsed.hasFragment(), expected.hasFragment());
}

class StrictUrlParserTest : public QObject {
    Q_OBJECT
private slots:
    // Origins: what the random texts below do not vary.
    void sameAsStrictParse_data() {
        QTest::addColumn<QString>("text");
        const QStringList texts = {
            "https://s3-alpha-sig.figma.com/thumbnails/0b9c5d3e?Expires=1735689600&Sig=a~-_Z",
            "https://s3.example.com/a/../b/./c//d",
            "https://s3.example.com:/p",
            "https://s3.example.com:99999/p",
            "https://us[er@s3.example.com/p",
            "http://[::1",
            "https://[v7.x]/p",
            "https://b\u00fccher.example/p",
            "https://exa mple.com/p",
            "https://-bad-.example/p",
            "https://",
            "data:image/png;base64,AAAA",
            "s3.example.com/p",
            "h+t.t-p://x/p",
            "://x/p",
            "",
        };
        for (const QString &text : texts)
            QTest::addRow("%s", qPrintable(text.left(60))) << text;
    }
    void sameAsStrictParse() {
        QFETCH(QString, text);
        StrictUrlParser parser;
        compareWithStrictParse(parser, text);
        compareWithStrictParse(parser, text); // again, with the origin already parsed
    }

    // One parser over many texts of few origins, as over one session file.
    void randomTextsOfSharedOrigins() {
        const QStringList origins = {"https://s3.example.com",
                                     "https://S3.example.com:443",
                                     "http://u:p@h.example",
                                     "https://[::1]",
                                     "file://",
                                     "https://h%41.example",
                                     "x-y://a"};
        const QStringList pieces = {"/",      "?",      "#", "%",  "%4", "%41", "%2f", "a", "Z",
                                    "0",      "-",      ".", "..", "~",  "_",   "=",   "&", "+",
                                    ":",      "@",      " ", "\"", "<",  "{",   "\\",  "`", "|",
                                    "\u00e9", "\u0001", "[", "]",  "'",  "!"};
        QRandomGenerator random(42);
        StrictUrlParser parser;
        for (int i = 0; i < 20000 && !QTest::currentTestFailed(); ++i) {
            QString text = origins.at(random.bounded(int(origins.size())));
            for (int piece = random.bounded(12); piece > 0; --piece)
                text += pieces.at(random.bounded(int(pieces.size())));
            compareWithStrictParse(parser, text);
        }
    }
};

QTEST_APPLESS_MAIN(StrictUrlParserTest)
#include "tst_stricturlparser.moc"
