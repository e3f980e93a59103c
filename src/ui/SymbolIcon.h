#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// Monochrome symbols drawn from our own SVGs (":/icons/<name>.svg"), tinted with a role colour
// and rendered at the device pixel ratio so they stay crisp on HiDPI screens.
namespace SymbolIcon {

QPixmap pixmap(const QString &name, QSize logicalSize, const QColor &tint, qreal devicePixelRatio);

// An icon that renders the symbol in `tint` at whatever size and ratio it is asked for.
QIcon icon(const QString &name, const QColor &tint);

} // namespace SymbolIcon
