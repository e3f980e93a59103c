#include "support/TestFiles.h"
#include "tabs/SessionFileLocation.h"
#include "tabs/SessionReader.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

static TabItem tab(const QString &id, const QString &title, const QString &path,
                   bool isActive = false, const QUrl &thumbnail = {}) {
    return TabItem(id, title, "https://www.figma.com" + path, isActive, thumbnail);
}

// Kept outside the test class: moc misreads "//" inside raw strings in a class body.
static const char goodThumbnailURL[] = "https://s3.example.com/thumb/K.png?v=2";
static const char *const thumbnails[] = {
    R"("thumbnail":{"url":"https://s3.example.com/thumb/K.png?v=2"})",
    R"("thumbnail":{"url":"http://[::1"})",
};

// A session of the given windows, "tabs" arrays or whole window objects.
static QByteArray session(const QByteArray &windows) {
    return R"({"windows":[)" + windows + "]}";
}

static qsizetype openDescriptorCount() {
    return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size();
}

class SessionReaderTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    // A damaged or hostile session file gives no tabs rather than a crash, a hang or tabs mixed up
    // between windows; unusable thumbnail URLs are left out.
    void parse_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QList<TabItem>>("expected");
        const QList<TabItem> none;
        const QByteArray tabA = R"({"title":"A","path":"/a"})";

        QTest::newRow("windows holds a number") << session(R"({"tabs":[)" + tabA + "]},3") << none;
        QTest::newRow("100,000 nested arrays")
            << QByteArray(100000, '[') + QByteArray(100000, ']') << none;
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

    // Only a regular file of at most the limit is read: a pipe would hang the read, a larger file
    // is refused at once, and no descriptor is left open.
    void reading_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("size"); // -1: refused
        for (const char *kind : {"missing", "fifo", "one byte too many"})
            QTest::newRow(kind) << kind << qint64(-1);
        QTest::newRow("exactly the limit") << "limit" << maxSessionFileBytes;
        QTest::newRow("symlink to a file") << "symlink" << qint64(2);
    }
    void reading() {
        QFETCH(QString, kind);
        QFETCH(qint64, size);
        const QString path = m_dir.filePath(QTest::currentDataTag());
        if (kind == "fifo") {
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        } else if (kind == "one byte too many" || kind == "limit") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(::ftruncate(file.handle(), maxSessionFileBytes + (kind == "limit" ? 0 : 1)) ==
                    0);
        } else if (kind == "symlink") {
            QVERIFY(writeFile(path + ".real", "{}") && QFile::link(path + ".real", path));
        }
        const qsizetype descriptors = openDescriptorCount();
        QCOMPARE(readSessionFileBytes(path).value_or(QByteArray()).size(), std::max(size, 0ll));
        QCOMPARE(readSessionFileBytes(path).has_value(), size >= 0);
        if (size < 0)
            QCOMPARE(readSessionTabs(path), QList<TabItem>());
        QCOMPARE(openDescriptorCount(), descriptors);
    }

    // The session file is looked for in the places Figma writes it, the user's own first: a wrong
    // order reads another Figma's tabs or none. Paths are below a throw-away root R: the home
    // folder is R/home.
    void lookupOrder_data() {
        QTest::addColumn<QString>("override");    // NOOKERY_FIGMA_SETTINGS; empty: unset
        QTest::addColumn<QString>("configHome");  // XDG_CONFIG_HOME; empty: unset
        QTest::addColumn<QStringList>("present"); // made before the lookup; a final "/": a folder
        QTest::addColumn<QStringList>("candidates");
        QTest::addColumn<QString>("read");
        const QString unset;
        const QString config = "R/config";
        const QString custom = "R/flatpak/settings.json";
        const QString linux = config + "/Figma/settings.json";
        const QString dotConfig = "R/home/.config/Figma/settings.json";
        const QString mac = "R/home/Library/Application Support/Figma/settings.json";
        const QStringList standard{linux, mac};
        const QStringList all{custom, linux, mac};

        const auto row = [](const char *name, const QString &override, const QString &configHome,
                            const QStringList &present, const QStringList &candidates,
                            const QString &read) {
            QTest::newRow(name) << override << configHome << present << candidates << read;
        };
        row("both: the Linux client's wins", unset, config, {mac, linux}, standard, linux);
        row("relative XDG_CONFIG_HOME ignored", unset, "config", {mac}, {dotConfig, mac}, mac);
        row("missing override: still looked at first", custom, config, {mac}, all, mac);
        row("override naming a folder is passed over", custom + "/", config, {custom + "/", linux},
            all, linux);
        row("relative override ignored", "flatpak/settings.json", config, {linux}, standard, linux);
    }
    void lookupOrder() {
        QFETCH(QString, override);
        QFETCH(QString, configHome);
        QFETCH(QStringList, present);
        QFETCH(QStringList, candidates);
        QFETCH(QString, read);
        QTemporaryDir root;
        const auto rooted = [&](QString path) { return path.replace("R/", root.path() + "/"); };
        // Each row sets all three; nothing after this test reads them.
        const QList<QByteArray> names{"HOME", "XDG_CONFIG_HOME", sessionFileVariable};
        const QList<QString> values{root.filePath("home"), rooted(configHome), rooted(override)};
        for (qsizetype i = 0; i < names.size(); ++i)
            values[i].isEmpty() ? qunsetenv(names[i])
                                : qputenv(names[i], QFile::encodeName(values[i]));
        for (const QString &path : present)
            QVERIFY(path.endsWith('/') ? QDir().mkpath(rooted(path)) : writeFile(rooted(path), {}));

        QStringList expected;
        for (const QString &candidate : candidates)
            expected.append(rooted(candidate));
        QCOMPARE(sessionFileCandidates(), expected);
        QCOMPARE(firstExistingFile(sessionFileCandidates()), rooted(read));
    }

    // The file key the stores file a tab under: a different id for the same file would lose its
    // folder and its place.
    void stableIdIsTheFileKey() {
        for (const auto &[url, id] : {std::pair{"https://www.figma.com//d//Key/x", "Key"},
                                      {"https://www.figma.com/d/A%20B/x", "A B"}})
            QCOMPARE(TabItem("figma-0-1", "t", url, false).stableID(), QString(id));
    }
};

QTEST_GUILESS_MAIN(SessionReaderTest)
#include "tst_sessionreader.moc"
