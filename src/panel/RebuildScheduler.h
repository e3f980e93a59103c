#pragma once

#include <QObject>

#include <functional>

// Folds any number of change notifications into one rebuild on the next event-loop turn. Nothing
// holds a rebuild back: the list takes new rows at any time, also in the middle of a drag.
class RebuildScheduler : public QObject {
    Q_OBJECT
public:
    explicit RebuildScheduler(std::function<void()> rebuild, QObject *parent = nullptr);

    void request();
    // Runs a requested rebuild now (before acting on a key, say).
    void flush();
    bool isPending() const { return m_pending; }

private:
    std::function<void()> m_rebuild;
    bool m_pending = false;
    bool m_queued = false;
};
