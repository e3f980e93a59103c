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
    // Where the desktop client keeps its session file: the Linux client's user-data folder
    // ($XDG_CONFIG_HOME/Figma), or the macOS one below the home folder.
    enum class Layout { Linux, MacOS };

    static QString socketPath();
    static QString sessionFilePath(Layout layout);
    static QString logFilePath();

    explicit FakeFigmaInstance(Layout layout);

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

    const QString m_sessionFile;
    FakeSession m_session;
    QLocalServer m_server;
    QListWidget m_window;
};
