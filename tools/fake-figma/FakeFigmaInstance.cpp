#include "FakeFigmaInstance.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QUrl>

QString FakeFigmaInstance::socketPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/fake-figma.socket");
}

QString FakeFigmaInstance::sessionFilePath(Layout layout) {
    if (layout == Layout::MacOS)
        return QDir::home().filePath(
            QStringLiteral("Library/Application Support/Figma/settings.json"));
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Figma/settings.json");
}

QString FakeFigmaInstance::logFilePath() {
    return QDir::home().filePath(QStringLiteral("fake-figma.log"));
}

FakeFigmaInstance::FakeFigmaInstance(Layout layout)
    : m_sessionFile(sessionFilePath(layout))
    , m_session(FakeSession::sample()) {
    m_window.setWindowTitle(QStringLiteral("Figma"));
    m_window.resize(420, 520);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &FakeFigmaInstance::acceptConnection);
}

bool FakeFigmaInstance::start(bool inBackground) {
    QLocalSocket probe;
    probe.connectToServer(socketPath());
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(socketPath());
    update();
    m_window.setAttribute(Qt::WA_ShowWithoutActivating, inBackground);
    m_window.show();
    return m_server.listen(socketPath());
}

bool FakeFigmaInstance::run(const QStringList &command, QString *output) {
    const QString verb = command.value(0);
    if (verb.startsWith(QLatin1String("figma:")) && command.size() == 1) {
        openUrl(verb);
    } else if (verb == QLatin1String("--open-tab") &&
               (command.size() == 3 || command.size() == 4)) {
        m_session.openTab(command[1], command[2], command.value(3, QStringLiteral("0")).toInt());
        update();
    } else if (verb == QLatin1String("--close-tab") && command.size() == 2) {
        if (!m_session.closeTab(command[1])) {
            *output = QStringLiteral("no open tab has the key ") + command[1];
            return false;
        }
        update();
    } else if (verb == QLatin1String("--list") && command.size() == 1) {
        *output = m_session.describe().join(u'\n');
    } else if (verb == QLatin1String("--quit") && command.size() == 1) {
        QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
    } else {
        *output = QStringLiteral("unknown command: ") + command.join(u' ');
        return false;
    }
    return true;
}

void FakeFigmaInstance::acceptConnection() {
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream stream(socket);
            stream.startTransaction();
            QStringList command;
            stream >> command;
            if (!stream.commitTransaction())
                return;
            QString output;
            const bool ok = run(command, &output);
            stream << ok << output;
            socket->flush();
        });
    }
}

void FakeFigmaInstance::openUrl(const QString &url) {
    QFile log(logFilePath());
    if (log.open(QIODevice::Append | QIODevice::Text))
        log.write(url.toUtf8() + '\n');
    m_session.show(QUrl(url).path());
    update();
    m_window.raise();
    m_window.activateWindow();
}

void FakeFigmaInstance::update() {
    const QString thumbnails =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
        QStringLiteral("/fake-figma/thumbnails");
    m_session.save(m_sessionFile, thumbnails);
    m_window.clear();
    m_window.addItems(m_session.describe());
}
