#pragma once

#include "settings/Appcast.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;

// Where updates are announced and which version runs now.
struct UpdaterConfig {
    // Empty: updates come from the package manager and nothing is checked.
    QUrl feedUrl;
    // Compared with the appcast's versions (the build number).
    QString buildVersion;
    // Shown to the user ("1.0.0").
    QString displayVersion;

    // What this build was configured with.
    static UpdaterConfig compiledIn();
};

struct UpdateCheckResult {
    enum class Outcome { UpToDate, UpdateAvailable, Failed, NotConfigured };
    Outcome outcome = Outcome::UpToDate;
    // The newer release when one is available.
    AppcastItem item;
    // What went wrong, in plain words, when the check failed.
    QString error;
    bool userInitiated = false;
};

// Checks a Sparkle-style appcast for a newer release: once a day while running (only when a
// feed is configured) and whenever the user asks. Checks never block; the answer comes with
// `checkFinished`. A request while a check runs joins that check.
class UpdaterManager : public QObject {
    Q_OBJECT
public:
    explicit UpdaterManager(QObject *parent = nullptr);
    explicit UpdaterManager(UpdaterConfig config, QObject *parent = nullptr);
    ~UpdaterManager() override;

    const UpdaterConfig &config() const { return m_config; }
    bool isConfigured() const { return m_config.feedUrl.isValid(); }
    bool isChecking() const { return m_reply != nullptr; }

    // The user asked: the answer, whatever it is, is meant to be shown.
    void checkForUpdates();
    // A scheduled check: only a newer release is worth showing.
    void checkInBackground();

signals:
    void checkFinished(const UpdateCheckResult &result);

private:
    void startCheck(bool userInitiated);
    void finishCheck();
    UpdateCheckResult resultOf(QNetworkReply &reply) const;

    UpdaterConfig m_config;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    bool m_userInitiated = false;
    bool m_tooLarge = false;
    QTimer m_schedule{this};
};
