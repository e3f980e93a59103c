#include "panel/model/DragGeometry.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

namespace DragGeometry {

bool contains(const QRectF &rect, const QPointF &point) {
    return point.x() >= rect.left() && point.x() < rect.right() && point.y() >= rect.top() &&
           point.y() < rect.bottom();
}

std::optional<qreal> insertionDistance(const QRectF &lineBounds, const QPointF &point) {
    const QRectF grown = lineBounds.adjusted(0, -insertionSlack, 0, insertionSlack);
    if (!contains(grown, point))
        return std::nullopt;
    return std::abs(point.y() - lineBounds.center().y());
}

std::optional<qreal> edgeScrollStep(qreal y, qreal viewHeight) {
    const qreal fromTop = y;
    if (fromTop >= 0 && fromTop < edgeBand)
        return -(1 - fromTop / edgeBand) * maxScrollStep;
    const qreal fromBottom = viewHeight - y;
    if (fromBottom >= 0 && fromBottom < edgeBand)
        return (1 - fromBottom / edgeBand) * maxScrollStep;
    return std::nullopt;
}

qreal clampScrollOffset(qreal offset, qreal contentHeight, qreal viewHeight) {
    const qreal maxOffset = std::max(contentHeight - viewHeight, qreal(0));
    return std::clamp(offset, qreal(0), maxOffset);
}

bool exceedsThreshold(const QPointF &from, const QPointF &to, qreal threshold) {
    return QLineF(from, to).length() > threshold;
}

} // namespace DragGeometry
