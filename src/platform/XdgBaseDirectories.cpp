#include "platform/XdgBaseDirectories.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString absoluteLocation(QStandardPaths::StandardLocation location, const QString &belowHome) {
    const QString path = QStandardPaths::writableLocation(location);
    return QDir::isAbsolutePath(path) ? path : QDir::home().filePath(belowHome);
}

} // namespace

QString xdgConfigHome() {
    return absoluteLocation(QStandardPaths::GenericConfigLocation, QStringLiteral(".config"));
}

QString xdgDataHome() {
    return absoluteLocation(QStandardPaths::GenericDataLocation, QStringLiteral(".local/share"));
}
