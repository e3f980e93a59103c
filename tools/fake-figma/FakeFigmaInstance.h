#pragma once

#include "FakeSession.h"

#include <QListWidget>
#include <QLocalServer>
#include <QStringList>

// The running pretend Figma: its window, its session file, and the socket through which later
// invocations hand it URLs and commands.
class FakeFigmaInstance : public QObject {
    Q_OBJECT
public:
    static QString socketPath();
    static QString sessionFilePath();
    static QString logFilePath();

    FakeFigmaInstance();

    // Writes the session, shows the window and starts listening; false if already running.
    // In the background, the window does not take the focus.
    bool start(bool inBackground);
    // Runs one command given as command-line arguments; false on a bad one. `output` gets
    // what to print: the listing, or the reason of the failure.
    bool run(const QStringList &command, QString *output);

private:
    void acceptConnection();
    void openUrl(const QString &url);
    void update();

    FakeSession m_session;
    QLocalServer m_server;
    QListWidget m_window;
};
