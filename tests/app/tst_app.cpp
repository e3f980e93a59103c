// The program's shell without a display: panel placement, the open/close sequence, the single
// instance and the command line of the real binary.

#include "app/PopoverController.h"
#include "app/PopoverPlacement.h"
#include "app/PopoverSurface.h"
#include "app/SessionSamples.h"
#include "app/SingleInstance.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

#include <csignal>
#include <cstdio>

using namespace PopoverPlacement;

class TestPopoverPlacement : public QObject {
    Q_OBJECT
private slots:
    void besideAnchor_data() {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        const QRect screen(0, 24, 1280, 776); // a 24 px top panel
        const QSize panel(420, 500);
        QTest::newRow("centred under an icon mid-screen")
            << QRect(600, 0, 24, 24) << panel << screen << QPoint(402, 24 + gap);
        QTest::newRow("icon in the top-right corner stays on screen")
            << QRect(1256, 0, 24, 24) << panel << screen << QPoint(860, 24 + gap);
        QTest::newRow("icon in the top-left corner stays on screen")
            << QRect(0, 0, 24, 24) << panel << screen << QPoint(0, 24 + gap);
        QTest::newRow("bottom panel: above the icon")
            << QRect(1200, 776, 24, 24) << panel << QRect(0, 0, 1280, 776)
            << QPoint(860, 776 - gap - 500);
        QTest::newRow("second monitor to the right")
            << QRect(3000, 0, 22, 22) << QSize(420, 300) << QRect(1920, 22, 1920, 1058)
            << QPoint(3000 + 11 - 210, 22 + gap);
        QTest::newRow("pointer in the middle opens below it")
            << QRect(640, 400, 1, 1) << QSize(420, 300) << screen << QPoint(430, 401 + gap);
        QTest::newRow("fits neither below nor above: kept inside, top first")
            << QRect(640, 400, 1, 1) << QSize(420, 600) << screen << QPoint(430, 200);
        QTest::newRow("taller than the screen: top edge visible")
            << QRect(640, 0, 24, 24) << QSize(420, 900) << screen << QPoint(442, 24);
        // No icon: the top-right corner, given as an empty anchor below.
        QTest::newRow("no icon") << QRect() << panel << screen
                                 << QPoint(1280 - margin - 420, 24 + margin);
        QTest::newRow("no icon, offset screen")
            << QRect() << panel << QRect(-1024, 0, 1024, 768) << QPoint(-margin - 420, margin);
        QTest::newRow("no icon, narrow screen")
            << QRect() << panel << QRect(0, 0, 400, 300) << QPoint(0, 0);
    }
    void besideAnchor() {
        QFETCH(QRect, anchor);
        QFETCH(QSize, size);
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(anchor.isNull() ? topRight(size, available)
                                 : PopoverPlacement::besideAnchor(anchor, size, available),
                 expected);
    }
};

class TestPopoverToggle : public QObject, public PopoverSurface {
    Q_OBJECT
    QStringList m_log;
    bool m_shown = false;
    QElapsedTimer m_shownAt;

public:
    bool isShown() const override { return m_shown; }
    void present() override {
        m_log.append("present");
        m_shown = true;
        m_shownAt.start();
    }
    void dismiss() override {
        m_log.append("dismiss");
        m_shown = false;
    }

private slots:
    void togglePopover_data() {
        QTest::addColumn<bool>("startShown");
        QTest::addColumn<int>("toggles");
        QTest::addColumn<bool>("focusSearch");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<int>("focusRequests");
        const QStringList opening{"refresh", "present"};
        QTest::newRow("open by click or shortcut") << false << 1 << true << opening << 1;
        QTest::newRow("open without focus") << false << 1 << false << opening << 0;
        QTest::newRow("close") << true << 1 << true << QStringList{"dismiss"} << 0;
        QTest::newRow("quick reopen asks once")
            << false << 3 << true << (opening + QStringList{"dismiss"} + opening) << 1;
    }
    void togglePopover() {
        QFETCH(bool, startShown);
        QFETCH(int, toggles);
        QFETCH(bool, focusSearch);
        QFETCH(QStringList, log);
        QFETCH(int, focusRequests);
        PopoverController controller(this, [this] { m_log.append("refresh"); });
        m_shown = startShown;
        m_log.clear();
        QList<qint64> focusDelays;
        connect(&controller, &PopoverController::focusSearchFieldRequested, this,
                [&] { focusDelays.append(m_shownAt.elapsed()); });

        for (int toggle = 0; toggle < toggles; ++toggle)
            controller.togglePopover(focusSearch);

        QCOMPARE(m_log, log);
        QVERIFY(focusDelays.isEmpty()); // never in the same turn as the showing
        QTest::qWait(PopoverController::focusDelayMs * 4);
        QCOMPARE(focusDelays.size(), focusRequests);
        if (focusRequests)
            QVERIFY(focusDelays[0] >= PopoverController::focusDelayMs - 5);
    }
};

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

class TestSingleInstance : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SingleInstance> m_first;

    // A second program asking from another thread, so this thread's event loop can answer.
    SingleInstance::Claim claimElsewhere(int waitMs) {
        auto claim = QtConcurrent::run([directory = m_dir->path(), waitMs] {
            return SingleInstance(directory).claimOrForwardToggle(waitMs);
        });
        while (!claim.isFinished())
            QTest::qWait(10);
        return claim.result();
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_first = std::make_unique<SingleInstance>(m_dir->path());
    }
    void cleanup() {
        m_first.reset();
        m_dir.reset();
    }

    void secondProgram_togglesTheFirst_data() {
        QTest::addColumn<int>("listenAfterMs"); // -1: never
        QTest::addColumn<int>("waitMs");
        QTest::addColumn<SingleInstance::Claim>("claim");
        QTest::newRow("listening") << 0 << 1000 << SingleInstance::Claim::Forwarded;
        QTest::newRow("still starting is waited for")
            << 300 << 3000 << SingleInstance::Claim::Forwarded;
        QTest::newRow("never listening") << -1 << 200 << SingleInstance::Claim::Unreachable;
    }
    void secondProgram_togglesTheFirst() {
        QFETCH(int, listenAfterMs);
        QFETCH(int, waitMs);
        QFETCH(SingleInstance::Claim, claim);
        QCOMPARE(m_first->claimOrForwardToggle(0), SingleInstance::Claim::Primary);
        QSignalSpy toggles(m_first.get(), &SingleInstance::toggleRequested);
        if (listenAfterMs >= 0)
            QTimer::singleShot(listenAfterMs, m_first.get(), [this] { m_first->listen(); });

        QCOMPARE(claimElsewhere(waitMs), claim);
        QCOMPARE(toggles.count(), claim == SingleInstance::Claim::Forwarded ? 1 : 0);
        if (claim == SingleInstance::Claim::Forwarded) {
            QCOMPARE(claimElsewhere(waitMs), claim);
            QCOMPARE(toggles.count(), 2);
        }
    }

    void crashedFirst_leavesNothingInTheWay() {
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", m_dir->path()});
        QVERIFY(holder.waitForReadyRead(5000));
        QCOMPARE(holder.readLine(), QByteArray("ready\n"));
        // Across processes the request arrives too.
        QCOMPARE(m_first->claimOrForwardToggle(1000), SingleInstance::Claim::Forwarded);
        QVERIFY(holder.waitForReadyRead(2000));
        QCOMPARE(holder.readLine(), QByteArray("toggled\n"));

        ::kill(pid_t(holder.processId()), SIGKILL);
        QVERIFY(holder.waitForFinished(5000));
        SingleInstance successor(m_dir->path());
        QVERIFY(QFileInfo::exists(successor.socketPath()));
        QVERIFY(QFileInfo::exists(successor.lockPath()));
        QCOMPARE(successor.claimOrForwardToggle(0), SingleInstance::Claim::Primary);
        QVERIFY(successor.listen());
        QSignalSpy toggles(&successor, &SingleInstance::toggleRequested);
        QCOMPARE(claimElsewhere(1000), SingleInstance::Claim::Forwarded);
        QCOMPARE(toggles.count(), 1);
    }

    void strangerOnTheSocket_isIgnored() {
        QCOMPARE(m_first->claimOrForwardToggle(0), SingleInstance::Claim::Primary);
        QVERIFY(m_first->listen());
        QSignalSpy toggles(m_first.get(), &SingleInstance::toggleRequested);
        QLocalSocket stranger;
        stranger.connectToServer(m_first->socketPath());
        QVERIFY(stranger.waitForConnected(1000));
        stranger.write("quit\n");
        stranger.write(QByteArray(4096, 'x'));
        QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(toggles.count(), 0);
    }
};

// The real binary, with nothing but a home directory: no display, no platform plugin.
class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void run_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("session"); // null: no session file
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out"); // patterns
        QTest::addColumn<QString>("err");
        const QStringList printTabs{"--print-tabs"};
        const QString usage = "^Usage: .*--print-tabs.*";
        QTest::newRow("tabs") << printTabs << sessionJson << 0
                              << "^" + QRegularExpression::escape(sessionLines) + "$"
                              << "^$";
        QTest::newRow("no session file") << printTabs << QByteArray() << 0 << "^$"
                                         << "^$";
        QTest::newRow("malformed session file") << printTabs << sessionJson.chopped(1) << 0 << "^$"
                                                << "^$";
        QTest::newRow("help") << QStringList{"--help"} << sessionJson << 0 << usage << "^$";
        QTest::newRow("short help") << QStringList{"-h"} << sessionJson << 0 << usage << "^$";
        QTest::newRow("help wins")
            << (printTabs + QStringList{"--help"}) << sessionJson << 0 << usage << "^$";
        QTest::newRow("version") << QStringList{"--version"} << sessionJson << 0
                                 << R"(^Nookery \d+\.\d+\.\d+ \(\w+\)\n$)"
                                 << "^$";
        QTest::newRow("unknown option") << QStringList{"--print-tab"} << sessionJson << 2 << "^$"
                                        << "^Unknown option 'print-tab'.\nUsage: [^\n]*nookery ";
        QTest::newRow("unexpected argument")
            << (printTabs + QStringList{"tabs"}) << sessionJson << 2 << "^$"
            << "^Unexpected argument 'tabs'.\nUsage: [^\n]*nookery ";
    }
    void run() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, session);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTemporaryDir home;
        if (!session.isNull()) {
            const QString folder = home.filePath("Library/Application Support/Figma");
            QVERIFY(QDir().mkpath(folder));
            QFile file(folder + "/settings.json");
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(session), session.size());
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(NOOKERY_BINARY, arguments);
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const auto options = QRegularExpression::DotMatchesEverythingOption;
        for (const auto &[pattern, text] :
             {std::pair{out, QString::fromUtf8(process.readAllStandardOutput())},
              std::pair{err, QString::fromUtf8(process.readAllStandardError())}})
            QVERIFY2(QRegularExpression(pattern, options).match(text).hasMatch(), qPrintable(text));
    }
};

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--hold") == 0)
        return holdInstance(QString::fromLocal8Bit(argv[2]));
    TestPopoverPlacement placement;
    TestPopoverToggle toggle;
    TestSingleInstance singleInstance;
    TestCommandLine commandLine;
    int failures = 0;
    for (QObject *test :
         std::initializer_list<QObject *>{&placement, &toggle, &singleInstance, &commandLine})
        failures += QTest::qExec(test, argc, argv);
    return failures;
}
#include "tst_app.moc"
