#include "tabs/SessionFileLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// Qt 6.4 takes a relative XDG_CONFIG_HOME as it stands; XDG base directories must be absolute.
static QString configHome() {
    const QString location =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir::isAbsolutePath(location) ? location
                                          : QDir::home().filePath(QStringLiteral(".config"));
}

QStringList sessionFileCandidates() {
    QStringList candidates;
    const QString override = qEnvironmentVariable(sessionFileVariable);
    if (QDir::isAbsolutePath(override))
        candidates.append(QDir::cleanPath(override));
    candidates.append(QDir(configHome()).filePath(QStringLiteral("Figma/settings.json")));
    candidates.append(
        QDir::home().filePath(QStringLiteral("Library/Application Support/Figma/settings.json")));
    candidates.removeDuplicates();
    return candidates;
}

QString firstExistingFile(const QStringList &candidates) {
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}
