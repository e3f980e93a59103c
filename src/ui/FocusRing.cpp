#include "ui/FocusRing.h"

#include "ui/Style.h"

#include <QPainter>

namespace FocusRing {

void paint(QPainter &painter, const QRectF &rect, qreal radius, const QPalette &palette) {
    constexpr qreal width = 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Style::color(Style::Role::Accent, palette), width));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = width / 2;
    painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), radius, radius);
    painter.restore();
}

} // namespace FocusRing
