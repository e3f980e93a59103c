#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

// The panel's colour roles and type scale. Sizes are logical pixels, one per macOS point.
namespace Style {

enum class Role { Primary, Secondary, Tertiary, Quaternary, Accent, Blue, Green, Red };

QColor color(Role role, const QPalette &palette);
QColor color(Role role, const QPalette &palette, qreal opacity);

QFont font(qreal pixelSize, QFont::Weight weight = QFont::Normal);

} // namespace Style
