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

    // An entry the desktop switched off counts as off, not as a start at login that never
    // happens, and switching it on works.
    void switchedOffEntriesCountAsDisabledUntilEnabled() {
        for (const auto &[text, enabled] :
             {std::pair{"[Desktop Entry]\nHidden = true\n", false},
              {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
              {"[Desktop Entry]\n[Desktop Action x]\nHidden=true\n", true}}) {
            QVERIFY(writeFile(m_entryPath, text));
            AutostartDesktopEntry entry;
            QCOMPARE(entry.isEnabled(), enabled);
            QVERIFY(entry.setEnabled(true));
            QVERIFY(entry.isEnabled());
        }
    }

    // A path with spaces, % or quotes still starts the program at login.
    void execKeyQuotesThePath() {
        const QString text = AutostartDesktopEntry::entryText("/opt/my a%2/$x\"y/nookery");
        QVERIFY2(text.contains("\nExec=\"/opt/my a%%2/\\\\$x\\\\\"y/nookery\"\n"),
                 qPrintable(text));
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
