#include "settings/StyledLabel.h"

#include "ui/RoleLabel.h"

QLabel *styledLabel(const QString &text, qreal pixelSize, QFont::Weight weight, Style::Role role,
                    QWidget *parent) {
    return new RoleLabel(text, Style::font(pixelSize, weight), role, parent);
}
