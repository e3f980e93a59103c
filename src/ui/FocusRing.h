#pragma once

#include <QRectF>

class QPainter;
class QPalette;

// The ring a control painted by us shows while it has the keyboard focus: the accent colour,
// 2 px wide inside `rect`, so it reads on the light and the dark palette alike.
namespace FocusRing {

void paint(QPainter &painter, const QRectF &rect, qreal radius, const QPalette &palette);

} // namespace FocusRing
