#include "platform/linux/InotifyWatchWorker.h"

#include "platform/PlatformLogging.h"

#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

InotifyWatchWorker::InotifyWatchWorker(QString path, std::chrono::milliseconds settleTime)
    : m_path(std::move(path))
    , m_settleTime(settleTime) {
}

InotifyWatchWorker::~InotifyWatchWorker() {
    delete m_notifier;
    if (m_file >= 0)
        ::close(m_file);
    if (m_inotify >= 0)
        ::close(m_inotify);
}

bool InotifyWatchWorker::attach() {
    const std::lock_guard lock(m_handOver);
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0)
        return false;

    // Savers replace the file by renaming a new one over it, and the file may not exist yet:
    // the nearest existing folder on the way tells when something appears at the path.
    const QFileInfo target(m_path);
    QString folder = target.absolutePath();
    m_awaitedName = target.fileName();
    while (!QFileInfo(folder).isDir() && folder != QLatin1String("/")) {
        const QFileInfo missing(folder);
        m_awaitedName = missing.fileName();
        folder = missing.absolutePath();
    }
    m_folderWatch = ::inotify_add_watch(m_inotify, QFile::encodeName(folder).constData(),
                                        IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);

    if (folder == target.absolutePath()) {
        const QByteArray path = QFile::encodeName(m_path);
        m_fileWatch = ::inotify_add_watch(m_inotify, path.constData(),
                                          IN_MODIFY | IN_ATTRIB | IN_MOVE_SELF | IN_DELETE_SELF);
        if (m_fileWatch >= 0)
            m_file = ::open(path.constData(), O_PATH | O_CLOEXEC);
    }
    qCDebug(lcWatch) << "watching" << m_path << (m_fileWatch >= 0 ? "and its folder" : "from")
                     << folder << (m_folderWatch >= 0 || m_fileWatch >= 0 ? "" : "failed");
    return m_folderWatch >= 0 || m_fileWatch >= 0;
}

void InotifyWatchWorker::start() {
    const std::lock_guard lock(m_handOver);
    m_settleTimer = new QTimer(this);
    m_settleTimer->setSingleShot(true);
    m_settleTimer->setInterval(m_settleTime);
    connect(m_settleTimer, &QTimer::timeout, this, &InotifyWatchWorker::deliverPending);
    m_notifier = new QSocketNotifier(m_inotify, QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, &InotifyWatchWorker::readEvents);
}

void InotifyWatchWorker::readEvents() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = ::read(m_inotify, buffer, sizeof buffer);
        if (length <= 0)
            break;
        for (ssize_t offset = 0; offset < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            m_pending |= eventsOf(*event);
            offset += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    if (!m_pending)
        return;
    // Events that arrive while settling stay queued in the kernel and form the next delivery.
    m_notifier->setEnabled(false);
    m_settleTimer->start();
}

void InotifyWatchWorker::deliverPending() {
    const FileWatch::Events events = std::exchange(m_pending, {});
    qCDebug(lcWatch) << "settled" << m_path << events;
    emit settled(events);
    m_notifier->setEnabled(true);
}

FileWatch::Events InotifyWatchWorker::eventsOf(const inotify_event &event) const {
    FileWatch::Events events;
    if (m_fileWatch >= 0 && event.wd == m_fileWatch) {
        if (event.mask & IN_MODIFY)
            events |= FileWatch::Write;
        if (event.mask & IN_MOVE_SELF)
            events |= FileWatch::Rename;
        if ((event.mask & IN_DELETE_SELF) || ((event.mask & IN_ATTRIB) && fileIsUnlinked()))
            events |= FileWatch::Delete;
    } else if (event.wd == m_folderWatch && event.len > 0 &&
               (event.mask & (IN_CREATE | IN_MOVED_TO)) &&
               QFile::decodeName(event.name) == m_awaitedName) {
        events |= FileWatch::Created;
    }
    return events;
}

bool InotifyWatchWorker::fileIsUnlinked() const {
    struct stat status {};
    return m_file >= 0 && ::fstat(m_file, &status) == 0 && status.st_nlink == 0;
}
