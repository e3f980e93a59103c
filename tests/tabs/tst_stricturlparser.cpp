#include "tabs/StrictUrlParser.h"

#include <QRandomGenerator>
#include <QTest>

// What the session reader accepted before: a strict parse of the whole text.
static QUrl strictlyParsed(const QString &text) {
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && !url.isEmpty() ? url : QUrl();
}

static void compareWithStrictParse(StrictUrlParser &parser, const QString &text) {
    const QUrl expected = strictlyParsed(text);
    const QUrl parsed = parser.parse(text);
    QVERIFY2(parsed == expected, qPrintable(text));
    QCOMPARE(parsed.toString(QUrl::FullyEncoded), expected.toString(QUrl::FullyEncoded));
    QCOMPARE(parsed.hasQuery(), expected.hasQuery());
    QCOMPARE(parsed.hasFragment(), expected.hasFragment());
    QCOMPARE(parsed.isEmpty(), expected.isEmpty());
}

class StrictUrlParserTest : public QObject {
    Q_OBJECT
private slots:
    void sameAsStrictParse_data() {
        QTest::addColumn<QString>("text");
        const QString thumbnail = "https://s3-alpha-sig.figma.com/thumbnails/"
                                  "0b9c5d3e-1f2a-4b6c-8d7e-9f0a1b2c3d4e?Expires=1735689600&"
                                  "Key-Pair-Id=APKAQ4GOSFWCVNEHN3O4&Signature=abc~-_XYZ";
        const QStringList texts = {
            thumbnail,
            "https://s3.example.com/thumb/K.png?v=2",
            "HTTPS://S3.Example.COM/Thumb/K.png",
            "https://s3.example.com",
            "https://s3.example.com?",
            "https://s3.example.com#",
            "https://s3.example.com/?#",
            "https://s3.example.com/p?q#f?g",
            "https://s3.example.com/p#f?g",
            "https://s3.example.com/p?a?b=/c",
            "https://s3.example.com/a/../b/./c//d",
            "https://s3.example.com/%41%2F%3f%7e%25?x=%2B%20#%23",
            "https://s3.example.com/%4",
            "https://s3.example.com/%zz",
            "https://s3.example.com/a%",
            "https://s3.example.com/a b",
            "https://s3.example.com/a\tb",
            "https://s3.example.com/a\"b",
            "https://s3.example.com/a<b>",
            "https://s3.example.com/{x}|^`\\",
            "https://s3.example.com/caf\u00e9",
            "https://s3.example.com/\u30c7\u30b6",
            "https://s3.example.com:8443/p",
            "https://s3.example.com:/p",
            "https://s3.example.com:99999/p",
            "https://s3.example.com:8x/p",
            "https://user:pw@s3.example.com/p",
            "https://us%65r@s3.example.com/p",
            "https://us[er@s3.example.com/p",
            "https://[::1]:80/p",
            "http://[::1",
            "https://[v7.x]/p",
            "https://1.2.3.4/p",
            "https://0x7f.1/p",
            "https://b\u00fccher.example/p",
            "https://xn--bcher-kva.example/p",
            "https://ex%61mple.com/p",
            "https://exa mple.com/p",
            "https://-bad-.example/p",
            "https:///p",
            "https://",
            "file:///tmp/t.png",
            "file://host/t.png",
            "data:image/png;base64,AAAA",
            "mailto:a@b.c",
            "s3.example.com/p",
            "/relative/path",
            "relative:colon/path",
            "1http://x/p",
            "h+t.t-p://x/p",
            "?://x",
            "a?b://x",
            "a#b://x",
            "://x/p",
            ":",
            "",
        };
        for (const QString &text : texts)
            QTest::addRow("%s", qPrintable(text.left(60))) << text;
    }
    void sameAsStrictParse() {
        QFETCH(QString, text);
        StrictUrlParser parser;
        compareWithStrictParse(parser, text);
        // Again, now with the origin already parsed.
        compareWithStrictParse(parser, text);
    }

    // One parser over many texts of few origins, as over one session file: every answer is
    // what a strict parse of the whole text gives.
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
        for (int i = 0; i < 20000; ++i) {
            QString text = origins.at(random.bounded(int(origins.size())));
            const int count = random.bounded(12);
            for (int piece = 0; piece < count; ++piece)
                text += pieces.at(random.bounded(int(pieces.size())));
            compareWithStrictParse(parser, text);
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_APPLESS_MAIN(StrictUrlParserTest)
#include "tst_stricturlparser.moc"
