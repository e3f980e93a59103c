#include "support/TestFiles.h"
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

// Takes no disk space.
static bool writeSparseFile(const QString &path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && ::ftruncate(file.handle(), size) == 0;
}

static qsizetype openDescriptorCount() {
    return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size();
}

class SessionReaderHostileTest : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> scratch;
    QString path;

private slots:
    void init() {
        scratch.emplace();
        path = scratch->filePath("settings.json");
    }

    void refusesWhatIsNotASmallReadableFile_data() {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"missing", "directory", "fifo", "character device", "symlink loop",
                                 "one byte too many", "unreadable"})
            QTest::newRow(kind) << kind;
    }
    void refusesWhatIsNotASmallReadableFile() {
        QFETCH(QString, kind);
        if (kind == "directory")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (kind == "character device")
            QVERIFY(QFile::link("/dev/zero", path)); // would never reach its end
        else if (kind == "symlink loop")
            QVERIFY(QFile::link(path, path));
        else if (kind == "one byte too many")
            QVERIFY(writeSparseFile(path, maxSessionFileBytes + 1));
        else if (kind == "unreadable") {
            if (::geteuid() == 0)
                QSKIP("root reads files without read permission");
            QVERIFY(writeFile(path, oneTab));
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        }

        const qsizetype descriptors = openDescriptorCount();
        QVERIFY(!readSessionFileBytes(path));
        QCOMPARE(readSessionTabs(path), QList<TabItem>());
        QCOMPARE(openDescriptorCount(), descriptors);
    }

    void readsUpToTheLimitAndThroughSymlinks() {
        QVERIFY(writeSparseFile(path, maxSessionFileBytes));
        QCOMPARE(readSessionFileBytes(path).value_or(QByteArray()).size(), maxSessionFileBytes);
        QVERIFY(QFile::remove(path));
        QVERIFY(writeFile(scratch->filePath("real.json"), oneTab));
        QVERIFY(QFile::link(scratch->filePath("real.json"), path));
        QCOMPARE(readSessionTabs(path).size(), 1);
    }

    void hostileContent_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("tabCount");
        QTest::newRow("invalid UTF-8 in a title")
            << QByteArray("{\"windows\":[{\"tabs\":[{\"title\":\"A\xff\xfe\",\"path\":\"/a\"}]}]}")
            << 0;
        QTest::newRow("raw NUL in a string")
            << QByteArray("{\"windows\":[{\"tabs\":[{\"title\":\"A\0\",\"path\":\"/a\"}]}]}", 49)
            << 0;
        QTest::newRow("escaped NUL in a title")
            << QByteArray("{\"windows\":[{\"tabs\":[{\"title\":\"A\\u0000B\",\"path\":\"/a\"}]}]}")
            << 1;
        QTest::newRow("byte order mark") << "\xef\xbb\xbf" + oneTab << 1;
        QTest::newRow("100,000 nested arrays")
            << QByteArray(100000, '[') + QByteArray(100000, ']') << 0;
        QTest::newRow("100,000 nested objects")
            << QByteArray("{\"a\":").repeated(100000) + "1" + QByteArray(100000, '}') << 0;
        QTest::newRow("unterminated nesting") << QByteArray(100000, '[') << 0;
    }
    void hostileContent() {
        QFETCH(QByteArray, json);
        QFETCH(int, tabCount);
        QCOMPARE(parseSessionTabs(json).size(), tabCount);
    }

    // Figma rewrites the file in place while it may be read: every read sees none or all tabs.
    void fileRewrittenWhileRead() {
        const QByteArray session =
            "{\"windows\":[{\"tabs\":[" +
            QByteArrayList(200, R"({"title":"T","path":"/d/K/n"})").join(',') + "]}]}";
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
};

QTEST_GUILESS_MAIN(SessionReaderHostileTest)
#include "tst_sessionreader_hostile.moc"
