#pragma once

#include <QFlags>
#include <QObject>

// One live watch on a file path. Destroying it stops the watch.
class FileWatch : public QObject {
    Q_OBJECT
public:
    enum Event {
        Write = 0x1,   // the file's contents were written or extended
        Rename = 0x2,  // the watched file was moved away
        Delete = 0x4,  // the watched file was deleted (its last link went)
        Created = 0x8, // a file now stands at the path, or a folder on the way to it appeared
    };
    Q_DECLARE_FLAGS(Events, Event)
    Q_FLAG(Events)

    using QObject::QObject;
    ~FileWatch() override;

signals:
    // The events gathered since the last delivery; delivered on the watch's owner thread.
    void changed(FileWatch::Events events);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(FileWatch::Events)
