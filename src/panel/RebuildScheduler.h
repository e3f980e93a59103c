#pragma once

#include <QObject>

#include <functional>

// Folds any number of change notifications into one rebuild on the next event-loop turn, and
// holds rebuilds back while a drag runs (rows must not move under the pointer mid-drag): the
// held rebuild runs once the mouse button is released.
class RebuildScheduler : public QObject {
    Q_OBJECT
public:
    RebuildScheduler(std::function<void()> rebuild, std::function<bool()> isBlocked,
                     QObject *parent = nullptr);

    void request();
    // Runs a requested rebuild now unless it is held back (before acting on a key, say).
    void flush();
    bool isPending() const { return m_pending; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void runIfFree();
    void waitForRelease(bool waiting);

    std::function<void()> m_rebuild;
    std::function<bool()> m_isBlocked;
    bool m_pending = false;
    bool m_queued = false;
    bool m_waitingForRelease = false;
};
