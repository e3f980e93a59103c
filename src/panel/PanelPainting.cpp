#include "panel/PanelPainting.h"

#include "ui/Style.h"
#include "ui/SymbolIcon.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace PanelPainting {

void fillRounded(QPainter &painter, const QRectF &rect, qreal radius, const QColor &color) {
    if (color.alpha() == 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRoundedRect(rect, radius, radius);
    painter.restore();
}

void strokeRoundedInside(QPainter &painter, const QRectF &rect, qreal radius, qreal width,
                         const QColor &color) {
    if (color.alpha() == 0)
        return;
    const qreal inset = width / 2.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), radius - inset,
                            radius - inset);
    painter.restore();
}

QSizeF symbolBox(qreal pointSize) {
    return {pointSize * 1.3, pointSize * 0.95};
}

void drawSymbol(QPainter &painter, const QString &name, const QRectF &box, qreal pointSize,
                const QColor &tint) {
    if (tint.alpha() == 0)
        return;
    const QSize size = symbolBox(pointSize).toSize();
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QPointF centred = box.center() - QPointF(size.width() / 2.0, size.height() / 2.0);
    // Whole device pixels keep the symbol's edges sharp.
    const QPointF snapped(std::round(centred.x() * ratio) / ratio,
                          std::round(centred.y() * ratio) / ratio);
    painter.drawPixmap(snapped, SymbolIcon::pixmap(name, size, tint, ratio));
}

QFont trackedFont(qreal pixelSize, QFont::Weight weight, qreal tracking) {
    QFont font = Style::font(pixelSize, weight);
    font.setLetterSpacing(QFont::AbsoluteSpacing, tracking);
    return font;
}

QFont captionFont() {
    return trackedFont(11, QFont::DemiBold, 0.4);
}

void drawElidedText(QPainter &painter, const QRectF &rect, const QFont &font, const QColor &color,
                    const QString &text, Qt::Alignment horizontal) {
    const QFontMetricsF metrics(font);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(rect, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), shown);
    painter.restore();
}

qreal textWidth(const QFont &font, const QString &text) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

} // namespace PanelPainting
