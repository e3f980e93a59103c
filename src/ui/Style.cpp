#include "ui/Style.h"

#include <QGuiApplication>

namespace Style {

QColor color(Role role, const QPalette &palette) {
    QColor text = palette.color(QPalette::WindowText);
    switch (role) {
    case Role::Primary:
        return text;
    case Role::Secondary:
        text.setAlphaF(0.6f);
        return text;
    case Role::Tertiary:
        text.setAlphaF(0.4f);
        return text;
    case Role::Quaternary:
        text.setAlphaF(0.25f);
        return text;
    case Role::Accent:
        return palette.color(QPalette::Highlight);
    case Role::Blue:
        return QColor(0x0a, 0x84, 0xff);
    case Role::Green:
        return QColor(0x30, 0xd1, 0x58);
    case Role::Red:
        return QColor(0xff, 0x45, 0x3a);
    }
    return text;
}

QColor color(Role role, const QPalette &palette, qreal opacity) {
    QColor c = color(role, palette);
    c.setAlphaF(float(c.alphaF() * opacity));
    return c;
}

QFont font(qreal pixelSize, QFont::Weight weight) {
    QFont f = QGuiApplication::font();
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(weight);
    return f;
}

} // namespace Style
