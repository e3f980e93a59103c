// The program's shell without a display: panel placement, the open/close sequence, the single
// instance and the command line of the real binary.

#include "app/PopoverController.h"
#include "app/PopoverPlacement.h"
#include "app/PopoverSurface.h"
#include "app/SessionSamples.h"
#include "app/SingleInstance.h"
#include "support/TestFiles.h"

#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>

using namespace PopoverPlacement;

namespace {

// Run in a child process: become the primary instance and serve until killed.
int holdInstance(const QString &directory) {
    SingleInstance instance(directory);
    if (instance.claimOrForwardToggle(0) != SingleInstance::Claim::Primary || !instance.listen())
        return 1;
    QObject::connect(&instance, &SingleInstance::toggleRequested, [] {
        std::printf("toggled\n");
        std::fflush(stdout);
    });
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace

class TestApp : public QObject, public PopoverSurface {
    Q_OBJECT
    QStringList m_log;
    bool m_shown = false;

public:
    bool isShown() const override { return m_shown; }
    void present() override {
        m_log.append("present");
        m_shown = true;
    }
    void dismiss() override {
        m_log.append("dismiss");
        m_shown = false;
    }

private slots:
    // A panel placed off its screen, or over the icon it opened from, wherever the icon is.
    void besideAnchor() {
        const QRect screen(0, 24, 1280, 776); // a 24 px top panel
        const QSize panel(420, 500);
        struct Case {
            QRect anchor;
            QSize size;
            QRect available;
            QPoint expected;
        };
        for (const auto &[anchor, size, available, expected] :
             {Case{{1256, 0, 24, 24}, panel, screen, {860, 24 + gap}}, // kept on screen
              Case{{1200, 776, 24, 24}, panel, {0, 0, 1280, 776}, {860, 776 - gap - 500}},
              // Fits neither below nor above: inside, from the top.
              Case{{640, 400, 1, 1}, {420, 600}, screen, {430, 200}}})
            QCOMPARE(PopoverPlacement::besideAnchor(anchor, size, available), expected);
    }
    // Stale tabs on opening, or the search field's focus asked for before the window can take it.
    void togglePopover() {
        PopoverController controller(this, [this] { m_log.append("refresh"); });
        int focusRequests = 0;
        connect(&controller, &PopoverController::focusSearchFieldRequested, this,
                [&] { ++focusRequests; });
        for (int toggle = 0; toggle < 3; ++toggle)
            controller.togglePopover(true);
        QCOMPARE(m_log, QStringList({"refresh", "present", "dismiss", "refresh", "present"}));
        QCOMPARE(focusRequests, 0);
        QTRY_COMPARE(focusRequests, 1);
    }

    // A second start that runs a second program instead of toggling the first (also after a
    // kill -9), or a stranger on the socket that toggles it.
    void forwardsAcrossProcesses_pastStrangersAndCrashes() {
        QTemporaryDir directory;
        // The second primary starts over the lock and socket the killed first one left.
        for (const char *life : {"first", "after kill -9"}) {
            QProcess primary;
            primary.start(QCoreApplication::applicationFilePath(), {"--hold", directory.path()});
            QVERIFY2(primary.waitForReadyRead(5000), life);
            QCOMPARE(primary.readAll(), QByteArray("ready\n"));

            QLocalSocket stranger;
            stranger.connectToServer(SingleInstance(directory.path()).socketPath());
            QVERIFY(stranger.waitForConnected(1000));
            stranger.write("quit\n" + QByteArray(4096, 'x'));
            QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
            // It hangs up after answering: a toggle for the stranger would be written by now.
            (void)primary.waitForReadyRead(0);
            QVERIFY2(primary.bytesAvailable() == 0, "the stranger toggled the panel");

            QCOMPARE(SingleInstance(directory.path()).claimOrForwardToggle(1000),
                     SingleInstance::Claim::Forwarded);
            QVERIFY(primary.waitForReadyRead(2000));
            QCOMPARE(primary.readAll(), QByteArray("toggled\n"));

            ::kill(pid_t(primary.processId()), SIGKILL);
            QVERIFY(primary.waitForFinished(5000));
            QVERIFY(QFileInfo::exists(SingleInstance(directory.path()).socketPath()));
        }
    }

    // `--print-tabs` needing a display, a failure reported as success, or the wrong session file
    // read: the real binary with nothing but a home directory.
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("session"); // null: no session file
        // Below the home folder; NOOKERY_FIGMA_SETTINGS names "custom/settings.json" there.
        QTest::addColumn<QString>("sessionAt");
        QTest::addColumn<int>("exitCode");
        // On success stdout, on failure stderr; the other stream stays empty. "<home>" stands
        // for the home folder.
        QTest::addColumn<QString>("pattern");
        const QStringList printTabs{"--print-tabs"};
        const QString linux = ".config/Figma/settings.json";
        const QString usage = "^Usage: (?=.*NOOKERY_FIGMA_SETTINGS).*--print-tabs.*";
        const QString tabs = "^" + QRegularExpression::escape(sessionLines) + "$";
        QTest::newRow("tabs") << printTabs << sessionJson << linux << 0 << tabs;
        QTest::newRow("no session file")
            << printTabs << QByteArray() << linux << 1
            << "^No Figma session file at '<home>/custom/settings.json', "
               "'<home>/.config/Figma/settings.json', "
               "'<home>/Library/Application Support/Figma/settings.json'; "
               "set NOOKERY_FIGMA_SETTINGS to its full path.\n$";
        QTest::newRow("session file over the limit")
            << printTabs << QByteArray(8 * 1024 * 1024 + 1, ' ') << linux << 1
            << "^Cannot read the Figma session file '<home>/.config/Figma/settings.json': "
               "it is larger than 8 MiB.\n$";
        QTest::newRow("help wins")
            << QStringList{"--print-tabs", "--help"} << sessionJson << linux << 0 << usage;
        QTest::newRow("unknown option") << QStringList{"--print-tab"} << sessionJson << linux << 2
                                        << "^Unknown option 'print-tab'.\nUsage: [^\n]*nookery ";
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, session);
        QFETCH(QString, sessionAt);
        QFETCH(int, exitCode);
        QFETCH(QString, pattern);
        QTemporaryDir home;
        if (!session.isNull())
            QVERIFY(writeFile(home.filePath(sessionAt), session));
        pattern.replace("<home>", QRegularExpression::escape(home.path()));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        environment.insert("NOOKERY_FIGMA_SETTINGS", home.filePath("custom/settings.json"));
        for (const char *name :
             {"XDG_CONFIG_HOME", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(NOOKERY_BINARY, arguments);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        QByteArray shown = process.readAllStandardOutput();
        QByteArray silent = process.readAllStandardError();
        if (exitCode != 0)
            std::swap(shown, silent);
        QCOMPARE(silent, QByteArray());
        QVERIFY2(QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption)
                     .match(QString::fromUtf8(shown))
                     .hasMatch(),
                 shown.constData());
    }
};

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--hold") == 0)
        return holdInstance(QString::fromLocal8Bit(argv[2]));
    TestApp test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_app.moc"
