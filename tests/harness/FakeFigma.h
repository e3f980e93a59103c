#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

// Drives tools/fake-figma from a test: the running instance, and commands handed to it.
// The test's throw-away HOME and XDG folders are inherited, so each test has its own Figma.
class FakeFigma {
public:
    explicit FakeFigma(QString program)
        : m_program(std::move(program)) {}
    ~FakeFigma() {
        if (m_instance.state() == QProcess::NotRunning)
            return;
        m_instance.kill();
        m_instance.waitForFinished();
    }

    // Starts the instance and waits until it takes commands (its session file is written).
    bool start(const QStringList &arguments = {}) {
        m_instance.setProcessChannelMode(QProcess::ForwardedChannels);
        m_instance.start(m_program, arguments);
        if (!m_instance.waitForStarted())
            return false;
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (run({"--list"}, QProcess::SeparateChannels))
                return true;
            QTest::qWait(50);
        }
        return false;
    }
    // Hands one command to the instance; true when it succeeded.
    bool run(const QStringList &arguments,
             QProcess::ProcessChannelMode output = QProcess::ForwardedErrorChannel) const {
        QProcess command;
        command.setProcessChannelMode(output);
        command.start(m_program, arguments);
        return command.waitForFinished(10000) && command.exitStatus() == QProcess::NormalExit &&
               command.exitCode() == 0;
    }
    bool quit() { return run({"--quit"}) && m_instance.waitForFinished(10000); }

    // Where it writes, as the Linux client does.
    static QString sessionFilePath() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               "/Figma/settings.json";
    }
    // The figma:// addresses it was asked to open, oldest first.
    static QStringList loggedUrls() {
        QFile log(QDir::home().filePath("fake-figma.log"));
        if (!log.open(QIODevice::ReadOnly | QIODevice::Text))
            return {};
        return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    QString m_program;
    QProcess m_instance;
};
