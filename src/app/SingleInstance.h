#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

// One Nookery per user session. The first process holds a lock file and listens on a local
// socket in the runtime directory; a later process hands its request to that one and exits.
// Claiming needs no QCoreApplication, so a forwarding process never opens a display.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim { Primary, Forwarded, Unreachable };

    // `directory` holds "nookery.lock" and "nookery.socket"; empty means the user's runtime
    // directory.
    explicit SingleInstance(const QString &directory = QString(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // Becomes the primary instance, or asks the running one to toggle its panel. A running
    // instance that is still starting gets `waitMs` to begin listening.
    Claim claimOrForwardToggle(int waitMs = 3000);

    // Primary only, once an event loop exists: accepts requests from later processes. A
    // socket left behind by a crashed instance is removed first.
    bool listen();

    QString socketPath() const;
    QString lockPath() const;

signals:
    void toggleRequested();

private:
    void serve(QLocalSocket *connection);

    QString m_directory;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};
