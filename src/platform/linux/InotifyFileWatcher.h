#pragma once

#include "platform/FileWatcher.h"

#include <QThread>

// Watches files with inotify; all watches read their events on one shared thread.
class InotifyFileWatcher : public FileWatcher {
public:
    InotifyFileWatcher();
    ~InotifyFileWatcher() override;

    std::unique_ptr<FileWatch> watch(const QString &path,
                                     std::chrono::milliseconds settleTime) override;

private:
    QThread m_thread;
};
