#include "settings/StyledLabel.h"

QLabel *styledLabel(const QString &text, qreal pixelSize, QFont::Weight weight, Style::Role role,
                    QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setFont(Style::font(pixelSize, weight));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     Style::color(role, parent ? parent->palette() : palette));
    label->setPalette(palette);
    return label;
}
