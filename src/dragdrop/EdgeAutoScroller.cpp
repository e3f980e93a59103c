#include "dragdrop/EdgeAutoScroller.h"

#include "panel/model/DragGeometry.h"

#include <QScrollArea>
#include <QScrollBar>

#include <cmath>

namespace {
constexpr int tickMilliseconds = 16;
}

EdgeAutoScroller::EdgeAutoScroller(QObject *parent)
    : QObject(parent) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(tickMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &EdgeAutoScroller::tick);
}

void EdgeAutoScroller::setScrollArea(QScrollArea *area) {
    stop();
    area_ = area;
}

QScrollArea *EdgeAutoScroller::visibleArea() const {
    return area_ && area_->isVisible() ? area_.data() : nullptr;
}

void EdgeAutoScroller::update(const QPointF &globalPoint) {
    QScrollArea *area = visibleArea();
    if (!area) {
        stop();
        return;
    }
    QWidget *viewport = area->viewport();
    const std::optional<qreal> step =
        DragGeometry::edgeScrollStep(viewport->mapFromGlobal(globalPoint).y(), viewport->height());
    if (!step) {
        stop();
        return;
    }
    speed_ = *step;
    if (!timer_.isActive()) {
        offset_ = area->verticalScrollBar()->value();
        timer_.start();
    }
}

void EdgeAutoScroller::stop() {
    timer_.stop();
    speed_ = 0;
}

void EdgeAutoScroller::tick() {
    QScrollArea *area = visibleArea();
    if (!area) {
        stop();
        return;
    }
    QScrollBar *bar = area->verticalScrollBar();
    // Someone else moved the list (a wheel, a key): continue from where it is now.
    if (bar->value() != int(std::lround(offset_)))
        offset_ = bar->value();
    const qreal contentHeight = area->widget() ? area->widget()->height() : 0;
    offset_ = DragGeometry::clampScrollOffset(offset_ + speed_, contentHeight,
                                              area->viewport()->height());
    bar->setValue(int(std::lround(offset_)));
}
