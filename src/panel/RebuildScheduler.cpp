#include "panel/RebuildScheduler.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

RebuildScheduler::RebuildScheduler(std::function<void()> rebuild, std::function<bool()> isBlocked,
                                   QObject *parent)
    : QObject(parent)
    , m_rebuild(std::move(rebuild))
    , m_isBlocked(std::move(isBlocked)) {
}

void RebuildScheduler::request() {
    m_pending = true;
    if (m_queued || m_waitingForRelease)
        return;
    m_queued = true;
    QTimer::singleShot(0, this, [this] {
        m_queued = false;
        runIfFree();
    });
}

void RebuildScheduler::flush() {
    if (m_pending)
        runIfFree();
}

void RebuildScheduler::runIfFree() {
    if (!m_pending)
        return;
    if (m_isBlocked()) {
        waitForRelease(true);
        return;
    }
    waitForRelease(false);
    m_pending = false;
    m_rebuild();
}

void RebuildScheduler::waitForRelease(bool waiting) {
    if (waiting == m_waitingForRelease)
        return;
    m_waitingForRelease = waiting;
    if (waiting)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool RebuildScheduler::eventFilter(QObject *, QEvent *event) {
    // The drag ends while the release is handled; look again on the turn after it.
    if (event->type() == QEvent::MouseButtonRelease) {
        QTimer::singleShot(0, this, [this] {
            if (m_waitingForRelease)
                runIfFree();
        });
    }
    return false;
}
