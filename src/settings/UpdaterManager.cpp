#include "settings/UpdaterManager.h"

#include "settings/VersionComparison.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

// The first scheduled check waits until start-up is long over; then one a day.
constexpr auto firstCheckDelay = std::chrono::minutes(2);
constexpr auto checkInterval = std::chrono::hours(24);
constexpr int transferTimeoutMs = 30'000;
// An appcast is a few kilobytes; anything this large is not one.
constexpr qint64 maximumFeedBytes = 2 * 1024 * 1024;

QString plainNetworkError(const QNetworkReply &reply) {
    switch (reply.error()) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("The update server could not be found. Check your internet "
                              "connection.");
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("The update server did not accept the connection.");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("The update server did not answer in time.");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("The update server's identity could not be verified.");
    case QNetworkReply::ContentNotFoundError:
        return QStringLiteral("The update information was not found on the server.");
    default:
        return QStringLiteral("The update information could not be downloaded (%1).")
            .arg(reply.errorString());
    }
}

} // namespace

UpdaterConfig UpdaterConfig::compiledIn() {
    UpdaterConfig config;
#if NOOKERY_UPDATER_ENABLED
    config.feedUrl = QUrl(QStringLiteral(NOOKERY_APPCAST_URL), QUrl::StrictMode);
#endif
    config.buildVersion = QStringLiteral(NOOKERY_BUILD_NUMBER);
    config.displayVersion = QStringLiteral(NOOKERY_VERSION);
    return config;
}

UpdaterManager::UpdaterManager(QObject *parent)
    : UpdaterManager(UpdaterConfig::compiledIn(), parent) {
}

UpdaterManager::UpdaterManager(UpdaterConfig config, QObject *parent)
    : QObject(parent)
    , m_config(std::move(config)) {
    if (!isConfigured())
        return;
    // One timer: it wakes the program once a day and at no other time.
    m_schedule.setTimerType(Qt::VeryCoarseTimer);
    m_schedule.setInterval(firstCheckDelay);
    connect(&m_schedule, &QTimer::timeout, this, [this] {
        m_schedule.setInterval(checkInterval);
        checkInBackground();
    });
    m_schedule.start();
}

UpdaterManager::~UpdaterManager() = default;

void UpdaterManager::checkForUpdates() {
    startCheck(true);
}

void UpdaterManager::checkInBackground() {
    startCheck(false);
}

void UpdaterManager::startCheck(bool userInitiated) {
    if (!isConfigured()) {
        UpdateCheckResult result;
        result.outcome = UpdateCheckResult::Outcome::NotConfigured;
        result.userInitiated = userInitiated;
        emit checkFinished(result);
        return;
    }
    if (m_reply) {
        m_userInitiated = m_userInitiated || userInitiated;
        return;
    }
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    m_userInitiated = userInitiated;
    m_tooLarge = false;
    QNetworkRequest request(m_config.feedUrl);
    request.setTransferTimeout(transferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Nookery/%1").arg(m_config.displayVersion));
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > maximumFeedBytes && m_reply) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &UpdaterManager::finishCheck);
}

void UpdaterManager::finishCheck() {
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_reply = nullptr;
    reply->deleteLater();
    UpdateCheckResult result = resultOf(*reply);
    result.userInitiated = m_userInitiated;
    emit checkFinished(result);
}

UpdateCheckResult UpdaterManager::resultOf(QNetworkReply &reply) const {
    UpdateCheckResult result;
    result.outcome = UpdateCheckResult::Outcome::Failed;
    if (m_tooLarge) {
        result.error = QStringLiteral("The update server sent something that is not update "
                                      "information.");
        return result;
    }
    if (reply.error() != QNetworkReply::NoError) {
        result.error = plainNetworkError(reply);
        return result;
    }
    const AppcastParseResult feed = parseAppcast(reply.readAll());
    if (!feed.error.isEmpty()) {
        result.error = QStringLiteral("The update information could not be read.");
        return result;
    }
    const auto newest = newestItem(feed.items);
    if (newest && compareVersions(newest->version, m_config.buildVersion) > 0) {
        result.outcome = UpdateCheckResult::Outcome::UpdateAvailable;
        result.item = *newest;
    } else {
        result.outcome = UpdateCheckResult::Outcome::UpToDate;
    }
    return result;
}
