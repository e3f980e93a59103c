#pragma once

#include <QObject>

// Whether the user has dismissed the welcome screen; kept in the settings across runs.
class OnboardingStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool hasSeenWelcome READ hasSeenWelcome WRITE setHasSeenWelcome NOTIFY
                   hasSeenWelcomeChanged)
public:
    static constexpr const char *welcomeKey = "Nookery.hasSeenWelcome";

    explicit OnboardingStore(QObject *parent = nullptr);

    bool hasSeenWelcome() const { return m_hasSeenWelcome; }
    // Written to the settings on every call; observers hear only of a real change.
    void setHasSeenWelcome(bool seen);

signals:
    void hasSeenWelcomeChanged(bool seen);

private:
    bool m_hasSeenWelcome;
};
