#include "app/PopoverPlacement.h"

#include <algorithm>

namespace PopoverPlacement {
namespace {

QPoint keptInside(QPoint topLeft, QSize size, const QRect &available) {
    // When the panel is larger than the area, its top-left corner wins.
    const int x =
        std::max(available.left(), std::min(topLeft.x(), available.right() + 1 - size.width()));
    const int y =
        std::max(available.top(), std::min(topLeft.y(), available.bottom() + 1 - size.height()));
    return {x, y};
}

} // namespace

QPoint besideAnchor(const QRect &anchor, QSize size, const QRect &available) {
    const int x = anchor.left() + anchor.width() / 2 - size.width() / 2;
    const int below = anchor.bottom() + 1 + gap;
    const int above = anchor.top() - gap - size.height();
    const bool fitsBelow = below + size.height() <= available.bottom() + 1;
    const bool fitsAbove = above >= available.top();
    const int y = (!fitsBelow && fitsAbove) ? above : below;
    return keptInside({x, y}, size, available);
}

QPoint topRight(QSize size, const QRect &available) {
    const QPoint corner(available.right() + 1 - margin - size.width(), available.top() + margin);
    return keptInside(corner, size, available);
}

} // namespace PopoverPlacement
