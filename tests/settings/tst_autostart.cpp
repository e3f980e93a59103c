#include "platform/xdg/AutostartDesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace {

QString readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void write(const QString &path, const QByteArray &text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

} // namespace

class TestAutostart : public QObject {
    Q_OBJECT

    QString m_entryPath;

private slots:
    void init() {
        m_entryPath = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/autostart/nookery.desktop");
        QFile::remove(m_entryPath);
    }

    void entryLivesInTheXdgConfigHome() {
        AutostartDesktopEntry entry;
        QCOMPARE(entry.entryPath(), qEnvironmentVariable("XDG_CONFIG_HOME") +
                                        QStringLiteral("/autostart/nookery.desktop"));
    }

    void enablingWritesAnEntryForTheRunningBinary() {
        AutostartDesktopEntry entry;
        QVERIFY(!entry.isEnabled());
        QVERIFY(entry.setEnabled(true));
        QVERIFY(entry.isEnabled());

        const QString text = readAll(m_entryPath);
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        QVERIFY(text.contains(QStringLiteral("\nExec=") + QCoreApplication::applicationFilePath() +
                              QLatin1Char('\n')));
        for (const char *line :
             {"Type=Application", "Name=Nookery", "Hidden=false", "X-GNOME-Autostart-enabled=true",
              "X-GNOME-Autostart-Delay=3", "X-KDE-autostart-after=panel", "X-LXQt-Need-Tray=true"})
            QVERIFY2(text.contains(QLatin1Char('\n') + QLatin1String(line) + QLatin1Char('\n')),
                     line);
        // The desktop's own reader agrees with the file's format.
        QSettings reader(m_entryPath, QSettings::IniFormat);
        QCOMPARE(reader.value(QStringLiteral("Desktop Entry/Name")).toString(),
                 QStringLiteral("Nookery"));

        QVERIFY(entry.setEnabled(false));
        QVERIFY(!entry.isEnabled());
        QVERIFY(!QFile::exists(m_entryPath));
        QVERIFY(entry.setEnabled(false));
    }

    void switchedOffEntriesCountAsDisabled_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("plain") << QByteArray("[Desktop Entry]\nExec=nookery\n") << true;
        QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=nookery\nHidden=true\n")
                                << false;
        QTest::newRow("hidden with spaces")
            << QByteArray("[Desktop Entry]\nHidden = true\n") << false;
        QTest::newRow("not hidden") << QByteArray("[Desktop Entry]\nHidden=false\n") << true;
        QTest::newRow("gnome switch off")
            << QByteArray("[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n") << false;
        QTest::newRow("hidden in another group")
            << QByteArray("[Desktop Entry]\nExec=nookery\n[Desktop Action x]\nHidden=true\n")
            << true;
        QTest::newRow("empty file") << QByteArray() << true;
    }

    void switchedOffEntriesCountAsDisabled() {
        QFETCH(QByteArray, text);
        QFETCH(bool, enabled);
        write(m_entryPath, text);
        QCOMPARE(AutostartDesktopEntry().isEnabled(), enabled);
    }

    void enablingReplacesASwitchedOffEntry() {
        write(m_entryPath, "[Desktop Entry]\nHidden=true\n");
        AutostartDesktopEntry entry;
        QVERIFY(entry.setEnabled(true));
        QVERIFY(entry.isEnabled());
        QVERIFY(!readAll(m_entryPath).contains(QStringLiteral("Hidden=true")));
    }

    void executablePathsAreQuotedForTheExecKey_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/usr/bin/nookery"
                               << "Exec=/usr/bin/nookery\n";
        QTest::newRow("space") << "/opt/my apps/nookery"
                               << "Exec=\"/opt/my apps/nookery\"\n";
        QTest::newRow("percent") << "/opt/100%/nookery"
                                 << "Exec=\"/opt/100%%/nookery\"\n";
        QTest::newRow("field code lookalike") << "/opt/a%2/nookery"
                                              << "Exec=\"/opt/a%%2/nookery\"\n";
        QTest::newRow("dollar and quote") << "/opt/$x\"y/nookery"
                                          << "Exec=\"/opt/\\\\$x\\\\\"y/nookery\"\n";
    }

    void executablePathsAreQuotedForTheExecKey() {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QVERIFY2(AutostartDesktopEntry::entryText(path).contains(QLatin1Char('\n') + exec),
                 qPrintable(AutostartDesktopEntry::entryText(path)));
    }

    void unwritableDirectoryReportsFailure() {
        const QString blocker = qEnvironmentVariable("NOOKERY_TEST_SCRATCH", QDir::tempPath()) +
                                QStringLiteral("/autostart-blocker");
        write(blocker, "a file where a directory should be");
        AutostartDesktopEntry entry(blocker + QStringLiteral("/nookery.desktop"),
                                    QStringLiteral("/usr/bin/nookery"));
        QVERIFY(!entry.setEnabled(true));
        QVERIFY(!entry.isEnabled());
        QFile::remove(blocker);
    }
};

QTEST_GUILESS_MAIN(TestAutostart)
#include "tst_autostart.moc"
