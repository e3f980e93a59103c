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
static const char *const thumbnails[] = {
    R"("thumbnail":{"url":"https://s3.example.com/thumb/K.png?v=2"})",
    R"("thumbnail":{"url":7})",
    R"("thumbnail":{"url":"http://[::1"})",
    R"("thumbnail":{"url":""})",
    R"("thumbnail":"https://s3.example.com/t.png")",
};

// A session of the given windows, "tabs" arrays or whole window objects.
static QByteArray session(const QByteArray &windows) {
    return R"({"windows":[)" + windows + "]}";
}

class SessionReaderTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QList<TabItem>>("expected");
        const QList<TabItem> none;
        const QByteArray tabA = R"({"title":"A","path":"/a"})";
        const QByteArray oneTab = session(R"({"tabs":[)" + tabA + "]}");
        const QList<TabItem> justA{tab("figma-0-0", "A", "/a")};

        QTest::newRow("empty file") << QByteArray() << none;
        QTest::newRow("invalid json") << QByteArray("{\"windows\":[") << none;
        QTest::newRow("trailing garbage") << oneTab + "x" << none;
        QTest::newRow("top-level array") << "[" + oneTab + "]" << none;
        QTest::newRow("windows is an object") << R"({"windows":{"tabs":[)" + tabA + "]}}" << none;
        QTest::newRow("windows holds a number") << session(R"({"tabs":[)" + tabA + "]},3") << none;
        QTest::newRow("tabs not an array") << session(R"({"tabs":)" + tabA + "}") << none;
        QTest::newRow("unknown keys ignored")
            << QByteArray(
                   R"({"v":1,"windows":[{"id":7,"tabs":[{"title":"A","path":"/a","x":[]}]}]})")
            << justA;
        QTest::newRow("window without tabs keeps its position")
            << session(R"({},{"tabs":[{"title":"A","path":"/a"},{"title":"B","path":"/b"}]})")
            << QList{tab("figma-1-0", "A", "/a"), tab("figma-1-1", "B", "/b")};
        QTest::newRow("tabs holding a string drop the window only")
            << session(R"({"tabs":[{"title":"A","path":"/a"},"B"]},
                          {"tabs":[{"title":"C","path":"/c"}]})")
            << QList{tab("figma-1-0", "C", "/c")};
        QTest::newRow("skipped tabs keep positions")
            << session(R"({"tabs":[{"path":"/a"},{"title":"B","path":"/b"},{"title":2,"path":"/c"},
                {"title":"D"},{"title":"E","path":null},{"title":"","path":""}]})")
            << QList{tab("figma-0-1", "B", "/b"), tab("figma-0-5", "", "")};
        QTest::newRow("active path marks matching tabs of its window")
            << session(R"({"activeTabPath":"/a","tabs":[{"title":"A","path":"/a"},
                {"title":"B","path":"/b"},{"title":"A2","path":"/a"}]},
                {"tabs":[{"title":"A3","path":"/a"}]})")
            << QList{tab("figma-0-0", "A", "/a", true), tab("figma-0-1", "B", "/b"),
                     tab("figma-0-2", "A2", "/a", true), tab("figma-1-0", "A3", "/a")};
        QTest::newRow("active path not a string")
            << session(R"({"activeTabPath":["/a"],"tabs":[)" + tabA + "]}") << justA;
        QTest::newRow("active path differs in case")
            << session(R"({"activeTabPath":"/A","tabs":[)" + tabA + "]}") << justA;
        QTest::newRow("decomposed active path matches composed path")
            << session(R"({"activeTabPath":"/d/K/Cafe\u0301",
                          "tabs":[{"title":"C","path":"/d/K/Caf\u00e9"}]})")
            << QList{tab("figma-0-0", "C", QString::fromUtf8("/d/K/Caf\u00e9"), true)};
        for (const char *thumbnail : thumbnails)
            QTest::addRow("%s", thumbnail)
                << session(R"({"tabs":[{"title":"A","path":"/a",)" + QByteArray(thumbnail) + "}]}")
                << QList{tab("figma-0-0", "A", "/a", false,
                             thumbnail == thumbnails[0] ? QUrl(goodThumbnailURL) : QUrl())};
        QTest::newRow("path concatenated unchanged")
            << session(R"({"tabs":[{"title":"A","path":"file/x y%zz"}]})")
            << QList{TabItem("figma-0-0", "A", "https://www.figma.comfile/x y%zz", false)};
    }
    void parse() {
        QFETCH(QByteArray, json);
        QFETCH(QList<TabItem>, expected);
        QCOMPARE(parseSessionTabs(json), expected);
    }

    void readsTheSessionFileAfreshBelowHome() {
        QTemporaryDir home;
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        const auto restoreHome = qScopeGuard([&] { qputenv("HOME", savedHome); });
        const QString path = home.path() + "/Library/Application Support/Figma/settings.json";
        QCOMPARE(sessionFilePath(), path);
        QCOMPARE(readSessionTabs(), QList<TabItem>());
        QVERIFY(QDir(home.path()).mkpath("Library/Application Support/Figma"));
        for (const QByteArray &contents :
             {session(R"({"tabs":[{"title":"N","path":"/d/K/n"}]})"), session("")}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QVERIFY(file.write(contents) == contents.size() && file.flush());
            QCOMPARE(readSessionTabs(), parseSessionTabs(contents));
        }
    }

    // What the stores key on and what the panel shows.
    void stableIdAndDisplayTitle() {
        for (const auto &[url, id] :
             {std::pair{"https://www.figma.com/d/AbC123/Untitled", "AbC123"},
              {"https://www.figma.com/d", "figma-0-1"},
              {"http://[::1", "figma-0-1"},
              {"https://www.figma.com//d//Key/x", "Key"},
              {"https://www.figma.com/d/A%20B/x", "A B"}})
            QCOMPARE(TabItem("figma-0-1", "t", url, false).stableID(), QString(id));
        for (const auto &[title, shown] : {std::pair{"Word \u2013 Figma", "Word"},
                                           {"Word - Figma - Figma", "Word"},
                                           {"A - Figma B", "A B"},
                                           {"\nWord\n", "\nWord\n"}})
            QCOMPARE(TabItem("", QString::fromUtf8(title), "", false).displayTitle(),
                     QString(shown));
    }

    // The manager replaces its list only when it differs: every field must count.
    void equalityCoversActiveAndThumbnail() {
        const TabItem a("figma-0-0", "t", "https://www.figma.com/d/K/n", false);
        QVERIFY(a != TabItem(a.id, a.title, a.url, true));
        QVERIFY(a != TabItem(a.id, a.title, a.url, false, QUrl("https://example.com/t.png")));
    }
};

QTEST_GUILESS_MAIN(SessionReaderTest)
#include "tst_sessionreader.moc"
