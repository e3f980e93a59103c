#pragma once

#include "platform/FileWatch.h"

#include <QString>
#include <chrono>
#include <mutex>

class QSocketNotifier;
class QTimer;
struct inotify_event;

// The inotify side of one watch; lives on the watch thread once attached.
class InotifyWatchWorker : public QObject {
    Q_OBJECT
public:
    InotifyWatchWorker(QString path, std::chrono::milliseconds settleTime);
    ~InotifyWatchWorker() override;

    // Sets up the inotify watches; false when nothing on the way to the path can be watched.
    bool attach();
    // Starts reading events; called on the watch thread.
    void start();

signals:
    void settled(FileWatch::Events events);

private:
    void readEvents();
    void deliverPending();
    FileWatch::Events eventsOf(const inotify_event &event) const;
    bool fileIsUnlinked() const;

    QString m_path;
    std::chrono::milliseconds m_settleTime;
    int m_inotify = -1;
    int m_file = -1; // opened for fstat only, to see the link count drop
    int m_fileWatch = -1;
    int m_folderWatch = -1;
    QString m_awaitedName; // the entry of the watched folder that leads to the path
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_settleTimer = nullptr;
    FileWatch::Events m_pending;
    // Set up on the caller's thread, then used on the watch thread. Qt's queued call orders the
    // two, but only through locks race detectors cannot see; this one states it.
    std::mutex m_handOver;
};
