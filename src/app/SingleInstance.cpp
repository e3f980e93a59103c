#include "app/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray toggleRequest = "toggle\n";
const QByteArray acknowledgement = "ok\n";
constexpr int replyTimeoutMs = 2000;
constexpr int retryPauseMs = 50;
// Requests are one short line; anything longer is not from a Nookery.
constexpr qint64 longestRequest = 64;

bool sendToggle(const QString &socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(replyTimeoutMs))
        return false;
    socket.write(toggleRequest);
    if (!socket.waitForBytesWritten(replyTimeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(replyTimeoutMs))
            return false;
    }
    return socket.readLine() == acknowledgement;
}

} // namespace

SingleInstance::SingleInstance(const QString &directory, QObject *parent)
    : QObject(parent)
    , m_directory(directory.isEmpty()
                      ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                      : directory) {
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketPath() const {
    return QDir(m_directory).filePath(QStringLiteral("nookery.socket"));
}

QString SingleInstance::lockPath() const {
    return QDir(m_directory).filePath(QStringLiteral("nookery.lock"));
}

SingleInstance::Claim SingleInstance::claimOrForwardToggle(int waitMs) {
    QDir().mkpath(m_directory);
    m_lock = std::make_unique<QLockFile>(lockPath());
    // The lock lives as long as the program; only a dead owner makes it stale, never its age.
    m_lock->setStaleLockTime(0);
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (m_lock->tryLock(0))
            return Claim::Primary;
        if (m_lock->error() != QLockFile::LockFailedError) {
            // An unusable runtime directory: run rather than refuse to start.
            m_lock.reset();
            return Claim::Primary;
        }
        if (sendToggle(socketPath())) {
            m_lock.reset();
            return Claim::Forwarded;
        }
        if (deadline.hasExpired()) {
            m_lock.reset();
            return Claim::Unreachable;
        }
        QThread::msleep(retryPauseMs);
    }
}

bool SingleInstance::listen() {
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *connection = m_server->nextPendingConnection())
                serve(connection);
        });
    }
    if (m_server->isListening())
        return true;
    // We hold the lock, so whatever stands at the socket path belongs to a dead instance.
    QLocalServer::removeServer(socketPath());
    return m_server->listen(socketPath());
}

void SingleInstance::serve(QLocalSocket *connection) {
    connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
    connect(connection, &QLocalSocket::readyRead, this, [this, connection] {
        while (connection->canReadLine()) {
            if (connection->readLine(longestRequest + 1) != toggleRequest)
                continue;
            connection->write(acknowledgement);
            emit toggleRequested();
        }
        if (connection->bytesAvailable() > longestRequest)
            connection->abort();
    });
}
