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
    R"("thumbnail":{})",
    R"("thumbnail":"https://s3.example.com/t.png")",
    R"("thumbnail":{"url":"http://a b"})",
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
        QTest::newRow("top-level string") << QByteArray("\"windows\"") << none;
        QTest::newRow("no windows") << QByteArray(R"({"tabs":[]})") << none;
        QTest::newRow("windows is an object")
            << QByteArray(R"({"windows":{"tabs":[{"title":"A","path":"/a"}]}})") << none;
        QTest::newRow("windows holds a number")
            << QByteArray(R"({"windows":[{"tabs":[{"title":"A","path":"/a"}]},3]})") << none;
        QTest::newRow("windows holds null")
            << QByteArray(R"({"windows":[null,{"tabs":[{"title":"A","path":"/a"}]}]})") << none;
        QTest::newRow("trailing garbage") << QByteArray(oneWindow + "x") << none;
        QTest::newRow("one tab") << oneWindow << QList{tab("figma-0-0", "A", "/d/K/a")};
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
        QTest::newRow("windows and tabs in file order")
            << QByteArray(
                   R"({"windows":[{"tabs":[{"title":"B","path":"/b"},{"title":"A","path":"/a"}]},
                                         {"tabs":[]},{"tabs":[{"title":"A","path":"/a"}]}]})")
            << QList{tab("figma-0-0", "B", "/b"), tab("figma-0-1", "A", "/a"),
                     tab("figma-2-0", "A", "/a")};

        QTest::newRow("no active path")
            << QByteArray(R"({"windows":[{"tabs":[{"title":"A","path":"/a"}]}]})")
            << QList{tab("figma-0-0", "A", "/a")};
        QTest::newRow("active path marks matching tabs")
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
        QTest::newRow("composed active path matches decomposed path")
            << QByteArray(R"({"windows":[{"activeTabPath":"/d/K/Caf\u00e9",
                "tabs":[{"title":"C","path":"/d/K/Cafe\u0301"}]}]})")
            << QList{tab("figma-0-0", "C", QString::fromUtf8("/d/K/Cafe\u0301"), true)};

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
        QVERIFY(home.isValid());
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        const auto restoreHome = qScopeGuard([&] { qputenv("HOME", savedHome); });

        const QString expectedPath =
            home.path() + "/Library/Application Support/Figma/settings.json";
        QCOMPARE(sessionFilePath(), expectedPath);
        QCOMPARE(readSessionTabs(), QList<TabItem>());

        QVERIFY(QDir(home.path()).mkpath("Library/Application Support/Figma"));
        QFile file(expectedPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            R"({"windows":[{"activeTabPath":"/d/K/n","tabs":[{"title":"N","path":"/d/K/n"}]}]})");
        file.close();
        QCOMPARE(readSessionTabs(), QList{tab("figma-0-0", "N", "/d/K/n", true)});

        // Read afresh every time.
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(R"({"windows":[]})");
        file.close();
        QCOMPARE(readSessionTabs(), QList<TabItem>());
    }
};

QTEST_GUILESS_MAIN(SessionReaderTest)
#include "tst_sessionreader.moc"
