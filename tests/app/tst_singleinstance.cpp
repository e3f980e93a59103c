#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

#include <csignal>
#include <cstdio>

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

// A second program asking from another thread, so this thread's event loop can answer.
SingleInstance::Claim claimElsewhere(const QString &directory, int waitMs) {
    auto claim = QtConcurrent::run(
        [directory, waitMs] { return SingleInstance(directory).claimOrForwardToggle(waitMs); });
    while (!claim.isFinished())
        QTest::qWait(10);
    return claim.result();
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SingleInstance> m_first;

    QString directory() const { return m_dir->path(); }
    SingleInstance::Claim claimFirst() {
        m_first = std::make_unique<SingleInstance>(directory());
        return m_first->claimOrForwardToggle(0);
    }

private slots:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() {
        m_first.reset();
        m_dir.reset();
    }

    void secondProgram_togglesTheFirst() {
        QCOMPARE(claimFirst(), SingleInstance::Claim::Primary);
        SingleInstance &first = *m_first;
        QVERIFY(first.listen());
        QSignalSpy toggles(&first, &SingleInstance::toggleRequested);

        QCOMPARE(claimElsewhere(directory(), 1000), SingleInstance::Claim::Forwarded);
        QCOMPARE(toggles.count(), 1);
        QCOMPARE(claimElsewhere(directory(), 1000), SingleInstance::Claim::Forwarded);
        QCOMPARE(toggles.count(), 2);
    }

    void firstStillStarting_isWaitedFor() {
        QCOMPARE(claimFirst(), SingleInstance::Claim::Primary);
        SingleInstance &first = *m_first;
        QSignalSpy toggles(&first, &SingleInstance::toggleRequested);
        // The first begins listening only after the second started asking.
        QTimer::singleShot(300, &first, [&first] { first.listen(); });

        QCOMPARE(claimElsewhere(directory(), 3000), SingleInstance::Claim::Forwarded);
        QCOMPARE(toggles.count(), 1);
    }

    void firstNeverListening_isReportedUnreachable() {
        QCOMPARE(claimFirst(), SingleInstance::Claim::Primary);
        QCOMPARE(claimElsewhere(directory(), 200), SingleInstance::Claim::Unreachable);
    }

    void crashedFirst_leavesNothingInTheWay() {
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", directory()});
        QVERIFY(holder.waitForReadyRead(5000));
        QCOMPARE(holder.readLine(), QByteArray("ready\n"));

        // Across processes the request arrives too.
        QCOMPARE(SingleInstance(directory()).claimOrForwardToggle(1000),
                 SingleInstance::Claim::Forwarded);
        QVERIFY(holder.waitForReadyRead(2000));
        QCOMPARE(holder.readLine(), QByteArray("toggled\n"));

        ::kill(pid_t(holder.processId()), SIGKILL);
        QVERIFY(holder.waitForFinished(5000));
        SingleInstance successor(directory());
        QVERIFY(QFileInfo::exists(successor.socketPath()));
        QVERIFY(QFileInfo::exists(successor.lockPath()));

        QCOMPARE(successor.claimOrForwardToggle(0), SingleInstance::Claim::Primary);
        QVERIFY(successor.listen());
        QSignalSpy toggles(&successor, &SingleInstance::toggleRequested);
        QCOMPARE(claimElsewhere(directory(), 1000), SingleInstance::Claim::Forwarded);
        QCOMPARE(toggles.count(), 1);
    }

    void strangerOnTheSocket_isIgnored() {
        QCOMPARE(claimFirst(), SingleInstance::Claim::Primary);
        SingleInstance &first = *m_first;
        QVERIFY(first.listen());
        QSignalSpy toggles(&first, &SingleInstance::toggleRequested);

        QLocalSocket stranger;
        stranger.connectToServer(first.socketPath());
        QVERIFY(stranger.waitForConnected(1000));
        stranger.write("quit\n");
        stranger.write(QByteArray(4096, 'x'));
        QTRY_COMPARE(stranger.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(toggles.count(), 0);
    }
};

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--hold") == 0)
        return holdInstance(QString::fromLocal8Bit(argv[2]));
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_singleinstance.moc"
