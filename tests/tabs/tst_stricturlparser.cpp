#include "tabs/StrictUrlParser.h"

#include <QRandomGenerator>
#include <QTest>

// The fast parser must answer exactly as a strict parse of the whole text does.
static bool answersAsStrictParse(StrictUrlParser &parser, const QString &text) {
    QUrl expected(text, QUrl::StrictMode);
    if (!expected.isValid() || expected.isEmpty())
        expected = QUrl();
    const QUrl parsed = parser.parse(text);
    return parsed == expected &&
           parsed.toString(QUrl::FullyEncoded) == expected.toString(QUrl::FullyEncoded) &&
           parsed.hasQuery() == expected.hasQuery() &&
           parsed.hasFragment() == expected.hasFragment();
}

class StrictUrlParserTest : public QObject {
    Q_OBJECT
private slots:
    // A fast answer that differs from a strict parse lets an unusable URL through or drops a good
    // one, or keys a tab on the wrong file. Fixed origins the random texts do not vary, then
    // random tails over shared origins, each parsed twice so the second answer comes from the
    // remembered origin.
    void sameAsStrictParse() {
        QStringList texts = {"https://s3.example.com:99999/p",
                             "https://us[er@s3.example.com/p",
                             "http://[::1",
                             "https://b\u00fccher.example/p",
                             "https://",
                             "https://s3.example.com:/p",
                             "https://[v7.x]/p",
                             "h+t.t-p://x/p",
                             "://x/p",
                             "data:image/png;base64,AAAA",
                             "s3.example.com/p",
                             ""};
        const QStringList origins = {"https://s3.example.com", "https://S3.example.com:443",
                                     "http://u:p@h.example", "https://[::1]", "file://",
                                     "https://h%41.example",
                                     // No scheme: a relative path that holds "://".
                                     "s3.example.com/p://h", "1x://h", "x_y://h"};
        const QString pieces = "/?#%4aZ0-.~_=&+:@ \"<{\\`|\u00e9\u0001[]'!";
        QRandomGenerator random(42);
        for (int i = 0; i < 5000; ++i) {
            QString text = origins.at(random.bounded(int(origins.size())));
            for (int piece = random.bounded(12); piece > 0; --piece)
                text += pieces.at(random.bounded(int(pieces.size())));
            texts.append(text);
        }
        StrictUrlParser parser;
        for (const QString &text : texts)
            QVERIFY2(answersAsStrictParse(parser, text) && answersAsStrictParse(parser, text),
                     qPrintable(text));
    }
};

QTEST_APPLESS_MAIN(StrictUrlParserTest)
#include "tst_stricturlparser.moc"
