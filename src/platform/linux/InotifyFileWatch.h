#pragma once

#include "platform/FileWatch.h"

class InotifyWatchWorker;

// The owner's handle on a watch whose worker lives on the watch thread.
class InotifyFileWatch : public FileWatch {
    Q_OBJECT
public:
    explicit InotifyFileWatch(InotifyWatchWorker *worker);
    // Cuts the link to the worker first, so the worker can never be deleted on its thread while
    // this handle still refers to it, then has the worker deleted there.
    ~InotifyFileWatch() override;

private:
    InotifyWatchWorker *m_worker;
    QMetaObject::Connection m_delivery;
};
