#include "panel/RebuildScheduler.h"

#include <QTimer>

RebuildScheduler::RebuildScheduler(std::function<void()> rebuild, QObject *parent)
    : QObject(parent)
    , m_rebuild(std::move(rebuild)) {
}

void RebuildScheduler::request() {
    m_pending = true;
    if (m_queued)
        return;
    m_queued = true;
    QTimer::singleShot(0, this, [this] {
        m_queued = false;
        flush();
    });
}

void RebuildScheduler::flush() {
    if (!m_pending)
        return;
    m_pending = false;
    m_rebuild();
}
