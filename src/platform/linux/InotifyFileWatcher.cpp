#include "platform/linux/InotifyFileWatcher.h"

#include "platform/linux/InotifyFileWatch.h"
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

    return std::make_unique<InotifyFileWatch>(worker);
}
