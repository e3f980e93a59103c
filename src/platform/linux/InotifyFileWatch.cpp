#include "platform/linux/InotifyFileWatch.h"

#include "platform/linux/InotifyWatchWorker.h"

InotifyFileWatch::InotifyFileWatch(InotifyWatchWorker *worker)
    : m_worker(worker)
    , m_delivery(connect(worker, &InotifyWatchWorker::settled, this, &FileWatch::changed)) {
}

InotifyFileWatch::~InotifyFileWatch() {
    disconnect(m_delivery);
    m_worker->deleteLater();
}
