#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QTimer>

#include <QScrollArea>

// Scrolls the panel's list while a dragging pointer rests in the band along its top or bottom
// edge: faster the closer the pointer is to the edge, never past either end of the content.
class EdgeAutoScroller : public QObject {
    Q_OBJECT
public:
    explicit EdgeAutoScroller(QObject *parent = nullptr);

    void setScrollArea(QScrollArea *area);
    QScrollArea *scrollArea() const { return area_; }

    // Sets the speed for a pointer at `globalPoint`; starts the timer in a band, stops outside.
    void update(const QPointF &globalPoint);
    void stop();

    qreal speed() const { return speed_; }
    bool isRunning() const { return timer_.isActive(); }

private:
    QScrollArea *visibleArea() const;
    void tick();

    QPointer<QScrollArea> area_;
    QTimer timer_;
    qreal speed_ = 0;
    // The exact offset, so fractional steps add up instead of being rounded away each tick.
    qreal offset_ = 0;
};
