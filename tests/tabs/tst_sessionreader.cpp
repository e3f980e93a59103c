#include "tabs/SessionReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

static TabItem tab(const QString &id, const QString &title, const QString &path,
                   bool isActive = false, const QUrl &thumbnail = {}) {
    return TabItem(id, title, "https://www.figma.com" + path, isActive, thumbnail);
}

// Kept outside the test class: moc misreads "//" inside raw strings in a class body.
static const char goodThumbnailURL[] = "https://s3.example.com/thumb/K.png?v=2";
static const char goodThumbnail[] =
    R"("thumbnail":{"url":"https://s3.example.com/thumb/K.png?v=2"})";
static const char *const badThumbnails[] = {
    R"("thumbnail":{"url":7})",
    R"("thumbnail":{"url":"http://[::1"})",
    R"("thumbnail":{"url":""})",
    R"("thumbnail":"https://s3.example.com/t.png")",
};

// One window with one tab "A" at "/a" that carries the given extra keys.
static QByteArray tabWith(const char *extraKeys) {
    return R"({"windows":[{"tabs":[{"title":"A","path":"/a",)" + QByteArray(extraKeys) + "}]}]}";
}

class SessionReaderTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QList<TabItem>>("expected");
        const QList<TabItem> none;
        const QByteArray oneWindow = R"({"windows":[{"tabs":[{"title":"A","path":"/d/K/a"}]}]})";

        QTest::newRow("empty file") << QByteArray() << none;
        QTest::newRow("invalid json") << QByteArray("{\"windows\":[") << none;
        QTest::newRow("top-level array") << QByteArray("[" + oneWindow + "]") << none;
        QTest::newRow("no windows") << QByteArray(R"({"tabs":[]})") << none;
        QTest::newRow("windows is an object")
            << QByteArray(R"({"windows":{"tabs":[{"title":"A","path":"/a"}]}})") << none;
        QTest::newRow("windows holds a number")
            << QByteArray(R"({"windows":[{"tabs":[{"title":"A","path":"/a"}]},3]})") << none;
        QTest::newRow("trailing garbage") << QByteArray(oneWindow + "x") << none;
        QTest::newRow("unknown keys ignored")
            << QByteArray(
                   R"({"v":1,"windows":[{"id":7,"tabs":[{"title":"A","path":"/a","x":[]}]}]})")
            << QList{tab("figma-0-0", "A", "/a")};

        QTest::newRow("window without tabs keeps its position")
            << QByteArray(R"({"windows":[{},{"tabs":[{"title":"A","path":"/a"},
                                                     {"title":"B","path":"/b"}]}]})")
            << QList{tab("figma-1-0", "A", "/a"), tab("figma-1-1", "B", "/b")};
        QTest::newRow("tabs holding a string drop the window only")
            << QByteArray(R"({"windows":[{"tabs":[{"title":"A","path":"/a"},"B"]},
                                         {"tabs":[{"title":"C","path":"/c"}]}]})")
            << QList{tab("figma-1-0", "C", "/c")};
        QTest::newRow("tabs not an array")
            << QByteArray(R"({"windows":[{"tabs":{"title":"A","path":"/a"}}]})") << none;
        QTest::newRow("skipped tabs keep positions")
            << QByteArray(R"({"windows":[{"tabs":[{"path":"/a"},{"title":"B","path":"/b"},
                {"title":2,"path":"/c"},{"title":"D"},{"title":"E","path":null},
                {"title":"","path":""}]}]})")
            << QList{tab("figma-0-1", "B", "/b"), tab("figma-0-5", "", "")};

        QTest::newRow("active path marks matching tabs of its window")
            << QByteArray(R"({"windows":[{"activeTabPath":"/a","tabs":[{"title":"A","path":"/a"},
                {"title":"B","path":"/b"},{"title":"A2","path":"/a"}]},
                {"tabs":[{"title":"A3","path":"/a"}]}]})")
            << QList{tab("figma-0-0", "A", "/a", true), tab("figma-0-1", "B", "/b"),
                     tab("figma-0-2", "A2", "/a", true), tab("figma-1-0", "A3", "/a")};
        QTest::newRow("active path not a string")
            << QByteArray(
                   R"({"windows":[{"activeTabPath":["/a"],"tabs":[{"title":"A","path":"/a"}]}]})")
            << QList{tab("figma-0-0", "A", "/a")};
        QTest::newRow("active path differs in case")
            << QByteArray(
                   R"({"windows":[{"activeTabPath":"/A","tabs":[{"title":"A","path":"/a"}]}]})")
            << QList{tab("figma-0-0", "A", "/a")};
        QTest::newRow("decomposed active path matches composed path")
            << QByteArray(R"({"windows":[{"activeTabPath":"/d/K/Cafe\u0301",
                "tabs":[{"title":"C","path":"/d/K/Caf\u00e9"}]}]})")
            << QList{tab("figma-0-0", "C", QString::fromUtf8("/d/K/Caf\u00e9"), true)};

        QTest::newRow("thumbnail")
            << tabWith(goodThumbnail)
            << QList{tab("figma-0-0", "A", "/a", false, QUrl(goodThumbnailURL))};
        for (const char *bad : badThumbnails)
            QTest::addRow("bad thumbnail %s", bad)
                << tabWith(bad) << QList{tab("figma-0-0", "A", "/a")};

        QTest::newRow("path concatenated unchanged")
            << QByteArray(R"({"windows":[{"tabs":[{"title":"A","path":"file/x y%zz"}]}]})")
            << QList{TabItem("figma-0-0", "A", "https://www.figma.comfile/x y%zz", false)};
    }
    void parse() {
        QFETCH(QByteArray, json);
        QFETCH(QList<TabItem>, expected);
        QCOMPARE(parseSessionTabs(json), expected);
    }

    void readsTheSessionFileBelowHome() {
        QTemporaryDir home;
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        const auto restoreHome = qScopeGuard([&] { qputenv("HOME", savedHome); });
        const QString path = home.path() + "/Library/Application Support/Figma/settings.json";
        QCOMPARE(sessionFilePath(), path);
        QCOMPARE(readSessionTabs(), QList<TabItem>());

        QVERIFY(QDir(home.path()).mkpath("Library/Application Support/Figma"));
        // Read afresh every time.
        for (const QByteArray &contents : {QByteArray(R"({"windows":[{"tabs":[{"title":"N",)"
                                                      R"("path":"/d/K/n"}]}]})"),
                                           QByteArray(R"({"windows":[]})")}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(contents);
            file.close();
            QCOMPARE(readSessionTabs(), parseSessionTabs(contents));
        }
    }

    void stableIdentifier_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("key segment") << "https://www.figma.com/d/AbC123/Untitled"
                                     << "AbC123";
        QTest::newRow("single component") << "https://www.figma.com/d"
                                          << "figma-0-1";
        QTest::newRow("unparsable") << "http://[::1"
                                    << "figma-0-1";
        QTest::newRow("doubled slashes") << "https://www.figma.com//d//Key/x"
                                         << "Key";
        QTest::newRow("percent-encoded") << "https://www.figma.com/d/A%20B/x"
                                         << "A B";
    }
    void stableIdentifier() {
        QFETCH(QString, url);
        QFETCH(QString, expected);
        QCOMPARE(TabItem("figma-0-1", "t", url, false).stableID(), expected);
    }

    void displayTitle_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::newRow("en dash suffix") << QString::fromUtf8("Word \u2013 Figma") << "Word";
        QTest::newRow("hyphen twice") << "Word - Figma - Figma"
                                      << "Word";
        QTest::newRow("middle") << "A - Figma B"
                                << "A B";
        QTest::newRow("line breaks kept") << "\nWord\n"
                                          << "\nWord\n";
    }
    void displayTitle() {
        QFETCH(QString, title);
        QFETCH(QString, expected);
        QCOMPARE(TabItem("figma-0-0", title, "", false).displayTitle(), expected);
    }

    // The manager replaces its list only when it differs: every field must count.
    void equalityCoversActiveAndThumbnail() {
        const TabItem a("figma-0-0", "t", "https://www.figma.com/d/K/n", false);
        TabItem b = a;
        b.isActive = true;
        QVERIFY(a != b);
        b = a;
        b.thumbnailURL = QUrl("https://example.com/t.png");
        QVERIFY(a != b);
    }
};

QTEST_GUILESS_MAIN(SessionReaderTest)
#include "tst_sessionreader.moc"
