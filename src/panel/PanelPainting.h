#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// Drawing pieces the panel's painted rows and sections share.
namespace PanelPainting {

void fillRounded(QPainter &painter, const QRectF &rect, qreal radius, const QColor &color);
// Strokes the rounded rectangle inside its edge, as a border drawn within the shape.
void strokeRoundedInside(QPainter &painter, const QRectF &rect, qreal radius, qreal width,
                         const QColor &color);
// The logical box a symbol takes when set at a font size of `pointSize`.
QSizeF symbolBox(qreal pointSize);
// Draws the symbol centred in `box`, sized for `pointSize`, at the painter's pixel ratio.
void drawSymbol(QPainter &painter, const QString &name, const QRectF &box, qreal pointSize,
                const QColor &tint);
// The panel font with letter spacing in logical pixels.
QFont trackedFont(qreal pixelSize, QFont::Weight weight, qreal tracking);
// The section headers' caption: 11 px semibold with 0.4 px letter spacing.
QFont captionFont();
// One line of text, vertically centred in `rect`, elided at the end to its width.
void drawElidedText(QPainter &painter, const QRectF &rect, const QFont &font, const QColor &color,
                    const QString &text, Qt::Alignment horizontal = Qt::AlignLeft);
// Width of one line of text in `font`.
qreal textWidth(const QFont &font, const QString &text);

} // namespace PanelPainting
