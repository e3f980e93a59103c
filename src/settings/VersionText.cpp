#include "settings/VersionText.h"

namespace {

QString orDash(const QString &part) {
    const QString trimmed = part.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("\u2014") : trimmed;
}

} // namespace

QString versionText(const QString &shortVersion, const QString &buildNumber) {
    return QStringLiteral("Nookery %1 (%2)").arg(orDash(shortVersion), orDash(buildNumber));
}

QString currentVersionText() {
    return versionText(QStringLiteral(NOOKERY_VERSION), QStringLiteral(NOOKERY_BUILD_NUMBER));
}
