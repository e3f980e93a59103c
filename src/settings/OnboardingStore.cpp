#include "settings/OnboardingStore.h"

#include <QSettings>

namespace {

QSettings nookerySettings() {
    return QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
}

} // namespace

OnboardingStore::OnboardingStore(QObject *parent)
    : QObject(parent)
    , m_hasSeenWelcome(nookerySettings().value(QLatin1String(welcomeKey), false).toBool()) {
}

void OnboardingStore::setHasSeenWelcome(bool seen) {
    const bool changed = seen != m_hasSeenWelcome;
    m_hasSeenWelcome = seen;
    nookerySettings().setValue(QLatin1String(welcomeKey), seen);
    if (changed)
        emit hasSeenWelcomeChanged(seen);
}
