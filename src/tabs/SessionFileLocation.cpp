#include "tabs/SessionFileLocation.h"

#include "platform/XdgBaseDirectories.h"

#include <QDir>
#include <QFileInfo>

QStringList sessionFileCandidates() {
    QStringList candidates;
    const QString override = qEnvironmentVariable(sessionFileVariable);
    if (QDir::isAbsolutePath(override))
        candidates.append(QDir::cleanPath(override));
    candidates.append(QDir(xdgConfigHome()).filePath(QStringLiteral("Figma/settings.json")));
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
