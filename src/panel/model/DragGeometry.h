#pragma once

#include <QPointF>
#include <QRectF>

#include <optional>

// The measurements behind hit-testing, edge auto-scroll and the drag threshold.
// Everything is in logical pixels with y growing downwards.
namespace DragGeometry {

// An insertion line is hit this far above and below its own bounds.
constexpr qreal insertionSlack = 18;
// Depth of the bands along the list's top and bottom edges that scroll it during a drag.
constexpr qreal edgeBand = 40;
// The largest auto-scroll step, right at the edge, per timer tick.
constexpr qreal maxScrollStep = 4;

// Minimum edges inclusive, maximum edges exclusive, so adjacent rectangles never share a point.
bool contains(const QRectF &rect, const QPointF &point);

// How far the point lies from the line's middle, when it is within the line's slack-grown bounds.
std::optional<qreal> insertionDistance(const QRectF &lineBounds, const QPointF &point);

// The signed scroll step for a pointer at `y` in a view `viewHeight` tall: negative towards the
// start in the top band, positive towards the end in the bottom band, none outside both bands.
std::optional<qreal> edgeScrollStep(qreal y, qreal viewHeight);

// A scroll offset kept between the start of the content and its last full page.
qreal clampScrollOffset(qreal offset, qreal contentHeight, qreal viewHeight);

// Whether moving from `from` to `to` goes strictly farther than `threshold`.
bool exceedsThreshold(const QPointF &from, const QPointF &to, qreal threshold);

} // namespace DragGeometry
