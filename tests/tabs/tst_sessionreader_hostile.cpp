#include "tabs/SessionReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

static const QByteArray oneTab = R"({"windows":[{"tabs":[{"title":"A","path":"/a"}]}]})";

// One window holding the given number of tabs.
static QByteArray sessionOfTabs(int count) {
    QByteArray session = "{\"windows\":[{\"tabs\":[";
    for (int i = 0; i < count; ++i)
        session += "{\"title\":\"Tab " + QByteArray::number(i) + "\",\"path\":\"/d/K/n\"},";
    session.chop(1);
    return session + "]}]}";
}

static bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A file of the given size that takes no disk space.
static bool writeSparseFile(const QString &path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && ::ftruncate(file.handle(), size) == 0;
}

static qsizetype openDescriptorCount() {
    return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size();
}

class SessionReaderHostileTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        scratch.emplace(); // a fresh directory for every test row
        QVERIFY(scratch->isValid());
        path = scratch->filePath("settings.json");
    }

    void refusesWhatIsNotASmallRegularFile_data() {
        QTest::addColumn<QString>("kind");
        for (const char *kind :
             {"missing", "directory", "fifo", "character device", "symlink loop",
              "dangling symlink", "200 MiB", "one byte too many", "symlink to a fifo"})
            QTest::newRow(kind) << kind;
    }
    void refusesWhatIsNotASmallRegularFile() {
        QFETCH(QString, kind);
        if (kind == "directory")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "character device")
            QVERIFY(QFile::link("/dev/zero", path)); // would never reach its end
        else if (kind == "symlink loop")
            QVERIFY(QFile::link(path, path));
        else if (kind == "dangling symlink")
            QVERIFY(QFile::link(scratch->filePath("nowhere"), path));
        else if (kind == "200 MiB")
            QVERIFY(writeSparseFile(path, 200 * 1024 * 1024));
        else if (kind == "one byte too many")
            QVERIFY(writeSparseFile(path, maxSessionFileBytes + 1));
        else if (kind == "symlink to a fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(scratch->filePath("fifo")).constData(), 0600), 0);
            QVERIFY(QFile::link(scratch->filePath("fifo"), path));
        }

        const qsizetype descriptors = openDescriptorCount();
        QVERIFY(!readSessionFileBytes(path));
        QCOMPARE(readSessionTabs(path), QList<TabItem>());
        QCOMPARE(openDescriptorCount(), descriptors);
    }

    void readsUpToTheLimit() {
        QVERIFY(writeSparseFile(path, maxSessionFileBytes));
        const std::optional<QByteArray> bytes = readSessionFileBytes(path);
        QVERIFY(bytes);
        QCOMPARE(bytes->size(), maxSessionFileBytes);
        QCOMPARE(bytes->count('\0'), maxSessionFileBytes);
    }

    void followsSymlinksToRegularFiles() {
        QVERIFY(writeFile(scratch->filePath("real.json"), oneTab));
        QVERIFY(QFile::link(scratch->filePath("real.json"), path));
        QCOMPARE(readSessionTabs(path).size(), 1);
    }

    void unreadableFile() {
        if (::geteuid() == 0)
            QSKIP("root reads files without read permission");
        QVERIFY(writeFile(path, oneTab));
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        QVERIFY(!readSessionFileBytes(path));
        QCOMPARE(readSessionTabs(path), QList<TabItem>());
    }

    void hostileContent_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("tabCount");
        const QByteArray deepArray = QByteArray(100000, '[') + QByteArray(100000, ']');
        QByteArray deepObject;
        for (int i = 0; i < 100000; ++i)
            deepObject += "{\"a\":";
        deepObject += "1" + QByteArray(100000, '}');
        const QByteArray tabPrefix = R"({"windows":[{"tabs":[{"title":"A","path":"/a","x":)";

        QTest::newRow("invalid UTF-8 in a title")
            << QByteArray("{\"windows\":[{\"tabs\":[{\"title\":\"A\xff\xfe\",\"path\":\"/a\"}]}]}")
            << 0;
        QTest::newRow("overlong UTF-8 slash")
            << QByteArray("{\"windows\":[{\"tabs\":[{\"title\":\"A\",\"path\":\"\xc0\xaf\"}]}]}")
            << 0;
        QTest::newRow("raw NUL in a string")
            << QByteArray("{\"windows\":[{\"tabs\":[{\"title\":\"A\0\",\"path\":\"/a\"}]}]}", 49)
            << 0;
        QTest::newRow("NUL after the document") << oneTab + QByteArray(1, '\0') << 0;
        QTest::newRow("NUL before the document") << QByteArray(1, '\0') + oneTab << 0;
        QTest::newRow("escaped NUL in a title")
            << QByteArray("{\"windows\":[{\"tabs\":[{\"title\":\"A\\u0000B\",\"path\":\"/a\"}]}]}")
            << 1;
        QTest::newRow("lone surrogate escape")
            << QByteArray("{\"windows\":[{\"tabs\":[{\"title\":\"\\ud800\",\"path\":\"/a\"}]}]}")
            << 1;
        QTest::newRow("byte order mark") << "\xef\xbb\xbf" + oneTab << 1;
        QTest::newRow("100,000 nested arrays") << deepArray << 0;
        QTest::newRow("100,000 nested objects") << deepObject << 0;
        QTest::newRow("100,000 levels inside a tab") << tabPrefix + deepArray + "}]}]}" << 0;
        QTest::newRow("unterminated nesting") << QByteArray(100000, '[') << 0;
    }
    void hostileContent() {
        QFETCH(QByteArray, json);
        QFETCH(int, tabCount);
        QCOMPARE(parseSessionTabs(json).size(), tabCount);
    }

    // Figma rewrites the file while it may be read: every read sees no tabs or all of them.
    void fileRewrittenWhileRead() {
        const QByteArray session = sessionOfTabs(200);
        QVERIFY(writeFile(path, session));

        std::atomic<bool> stop = false;
        std::thread writer([&] {
            while (!stop) {
                QFile file(path);
                if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate))
                    continue;
                file.write(session.left(session.size() / 2));
                file.flush();
                file.write(session.mid(session.size() / 2));
            }
        });
        const auto stopWriter = qScopeGuard([&] {
            stop = true;
            writer.join();
        });
        for (int read = 0; read < 300; ++read) {
            const qsizetype count = readSessionTabs(path).size();
            QVERIFY2(count == 0 || count == 200, qPrintable(QString::number(count)));
        }
    }

private:
    std::optional<QTemporaryDir> scratch;
    QString path;
};

QTEST_GUILESS_MAIN(SessionReaderHostileTest)
#include "tst_sessionreader_hostile.moc"
