#pragma once

// The real nookery binary as end-to-end tests drive it: started with a geometry report in the
// test's throw-away session, read through that report, and measured through /proc.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <functional>

class NookeryProcess {
public:
    NookeryProcess()
        : m_reportPath(qEnvironmentVariable("NOOKERY_TEST_SCRATCH") +
                       QStringLiteral("/geometry.json")) {}

    QString reportPath() const { return m_reportPath; }
    QProcess &process() { return m_process; }

    bool start(const QStringList &arguments = {}) {
        QFile::remove(m_reportPath);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("NOOKERY_TEST_GEOMETRY_FILE"), m_reportPath);
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(QStringLiteral(NOOKERY_BINARY), arguments);
        return m_process.waitForStarted();
    }

    void stop() {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }

    // A second invocation, as from a terminal or a desktop shortcut; its exit code.
    static int runAgain(const QStringList &arguments) {
        QProcess process;
        process.start(QStringLiteral(NOOKERY_BINARY), arguments);
        return process.waitForFinished(10000) ? process.exitCode() : -1;
    }

    QJsonObject report() const {
        QFile file(m_reportPath);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

    bool waitFor(const std::function<bool(const QJsonObject &)> &ready,
                 int timeoutMs = 10000) const {
        QElapsedTimer timer;
        timer.start();
        while (!ready(report())) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QTest::qWait(20);
        }
        return true;
    }

    bool panelVisible() const { return report()["popoverVisible"].toBool(); }
    bool waitForPanel(bool visible) const {
        return waitFor([visible](const QJsonObject &r) { return r["popoverVisible"] == visible; });
    }

    // Voluntary and involuntary context switches of all its threads so far.
    qint64 contextSwitches() const {
        qint64 sum = 0;
        const QString tasks = QStringLiteral("/proc/%1/task").arg(m_process.processId());
        for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile status(tasks + '/' + task + QStringLiteral("/status"));
            if (!status.open(QIODevice::ReadOnly))
                continue;
            for (const QByteArray &line : status.readAll().split('\n')) {
                if (line.contains("ctxt_switches:"))
                    sum += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
            }
        }
        return sum;
    }

private:
    QString m_reportPath;
    QProcess m_process;
};
