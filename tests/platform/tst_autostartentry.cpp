// Start at login: the XDG autostart entry, as desktops read it.

#include "platform/xdg/AutostartDesktopEntry.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

class TestAutostartEntry : public QObject {
    Q_OBJECT

    const QString m_entryPath =
        qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/nookery.desktop");

    // As desktops read it: desktop-file-validate says nothing.
    static bool validates(const QString &path) {
        QProcess validator;
        validator.setProcessChannelMode(QProcess::MergedChannels);
        validator.start("desktop-file-validate", {path});
        return validator.waitForFinished() && validator.exitCode() == 0 &&
               validator.readAll().isEmpty();
    }

private slots:
    void init() { QFile::remove(m_entryPath); }

    // Switched on, a valid entry starts this binary at login; switched off, it is gone.
    void writesAValidEntryForTheRunningBinaryAndRemovesIt() {
        AutostartDesktopEntry entry;
        QCOMPARE(entry.entryPath(), m_entryPath);
        QVERIFY(entry.setEnabled(true));
        QVERIFY(validates(m_entryPath));
        const QString text = QString::fromUtf8(readFile(m_entryPath));
        QVERIFY(text.contains("\nExec=" + QCoreApplication::applicationFilePath() + '\n'));
        QVERIFY(entry.isEnabled());
        QVERIFY(entry.setEnabled(false));
        QVERIFY(!QFile::exists(m_entryPath));
    }

    // An entry the desktop switched off counts as off, and switching it on works.
    void switchedOffEntriesCountAsDisabledUntilEnabled_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("plain") << QByteArray("[Desktop Entry]\nExec=nookery\n") << true;
        QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nHidden = true\n") << false;
        QTest::newRow("not hidden") << QByteArray("[Desktop Entry]\nHidden=false\n") << true;
        QTest::newRow("gnome switch off")
            << QByteArray("[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n") << false;
        QTest::newRow("hidden in another group")
            << QByteArray("[Desktop Entry]\n[Desktop Action x]\nHidden=true\n") << true;
    }
    void switchedOffEntriesCountAsDisabledUntilEnabled() {
        QFETCH(QByteArray, text);
        QFETCH(bool, enabled);
        QVERIFY(writeFile(m_entryPath, text));
        AutostartDesktopEntry entry;
        QCOMPARE(entry.isEnabled(), enabled);
        QVERIFY(entry.setEnabled(true));
        QVERIFY(entry.isEnabled());
    }

    // A path with spaces, % or quotes still starts the program at login.
    void execKeyQuotesThePath_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        const auto row = [](const char *path, const char *exec) {
            QTest::newRow(path) << QString::fromUtf8(path) << QString::fromUtf8(exec);
        };
        row("/usr/bin/nookery", "Exec=/usr/bin/nookery\n");
        row("/opt/my apps/nookery", "Exec=\"/opt/my apps/nookery\"\n");
        row("/opt/a%2/nookery", "Exec=\"/opt/a%%2/nookery\"\n");
        row("/opt/$x\"y/nookery", "Exec=\"/opt/\\\\$x\\\\\"y/nookery\"\n");
    }
    void execKeyQuotesThePath() {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        const QString text = AutostartDesktopEntry::entryText(path);
        QVERIFY2(text.contains(QLatin1Char('\n') + exec), qPrintable(text));
        QVERIFY(writeFile(m_entryPath, text.toUtf8()) && validates(m_entryPath));
    }

    // A failed write of the entry is reported, never shown as switched on.
    void unwritableAutostartFolderReportsFailure() {
        const QString blocker = qEnvironmentVariable("NOOKERY_TEST_SCRATCH") + "/not-a-folder";
        QVERIFY(writeFile(blocker, "a file where a folder should be"));
        AutostartDesktopEntry entry(blocker + "/nookery.desktop", "/usr/bin/nookery");
        QVERIFY(!entry.setEnabled(true));
        QVERIFY(!entry.isEnabled());
    }
};

QTEST_GUILESS_MAIN(TestAutostartEntry)
#include "tst_autostartentry.moc"
