#include "platform/linux/InotifyFileWatcher.h"

#include "platform/linux/InotifyWatchWorker.h"

InotifyFileWatcher::InotifyFileWatcher() {
    m_thread.setObjectName(QStringLiteral("file watch"));
    m_thread.start(QThread::LowPriority);
}

InotifyFileWatcher::~InotifyFileWatcher() {
    // Workers still around are deleted as the thread finishes.
    m_thread.quit();
    m_thread.wait();
}

std::unique_ptr<FileWatch> InotifyFileWatcher::watch(const QString &path,
                                                     std::chrono::milliseconds settleTime) {
    auto *worker = new InotifyWatchWorker(path, settleTime);
    if (!worker->attach()) {
        delete worker;
        return nullptr;
    }
    worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, worker, &QObject::deleteLater);
    QMetaObject::invokeMethod(worker, &InotifyWatchWorker::start, Qt::QueuedConnection);

    auto handle = std::make_unique<FileWatch>();
    QObject::connect(worker, &InotifyWatchWorker::settled, handle.get(), &FileWatch::changed);
    // The worker belongs to the watch thread, so it is deleted there once the handle goes.
    QObject::connect(handle.get(), &QObject::destroyed, worker, &QObject::deleteLater);
    return handle;
}
