#pragma once

#include "ui/Style.h"

#include <QLabel>

// A plain-text label in one of the panel's type sizes and colour roles, re-tinted with the
// palette.
QLabel *styledLabel(const QString &text, qreal pixelSize, QFont::Weight weight, Style::Role role,
                    QWidget *parent);
