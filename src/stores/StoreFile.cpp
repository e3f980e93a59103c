#include "stores/StoreFile.h"

#include "platform/XdgBaseDirectories.h"
#include "stores/StoreLogging.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

StoreFile::StoreFile(QString directory, const QString &fileName)
    : m_directory(std::move(directory))
    , m_path(QDir(m_directory).filePath(fileName)) {
    QDir().mkpath(m_directory);
}

QString StoreFile::defaultDirectory() {
    return xdgDataHome() + QStringLiteral("/Nookery");
}

std::optional<QByteArray> StoreFile::read() {
    // A missing file is a first start; anything but a regular file holds nothing of ours.
    if (!QFileInfo(m_path).isFile())
        return std::nullopt;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcStore) << "cannot read" << m_path << file.errorString();
        m_preserveBeforeWrite = true;
        return std::nullopt;
    }
    return file.readAll();
}

bool StoreFile::write(const QByteArray &bytes) {
    QDir().mkpath(m_directory);
    if (m_preserveBeforeWrite && !preserveUnreadable())
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcStore) << "cannot write" << m_path << file.errorString();
        return false;
    }
    // A full disk shows only when the buffer is flushed, and commit() would keep the short file.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        qCWarning(lcStore) << "cannot write" << m_path << file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        qCWarning(lcStore) << "cannot replace" << m_path << file.errorString();
        return false;
    }
    qCDebug(lcStore) << "saved" << m_path << bytes.size() << "bytes";
    return true;
}

// Renames the file to "<name>.unreadable-<UTC time>", with a counter when that name is taken.
bool StoreFile::preserveUnreadable() {
    if (!QFileInfo::exists(m_path)) {
        m_preserveBeforeWrite = false;
        return true;
    }
    const QString stem = m_path + QStringLiteral(".unreadable-") +
                         QDateTime::currentDateTimeUtc().toString(u"yyyyMMdd'T'HHmmss'Z'");
    QString target = stem;
    for (int counter = 2; QFileInfo::exists(target); ++counter)
        target = stem + u'-' + QString::number(counter);
    if (!QFile::rename(m_path, target)) {
        qCWarning(lcStore) << "cannot keep the unreadable" << m_path << "aside";
        return false;
    }
    qCDebug(lcStore) << "kept the unreadable" << m_path << "as" << target;
    m_preserveBeforeWrite = false;
    return true;
}
