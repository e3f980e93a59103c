#include "settings/DividerLine.h"

#include "ui/Style.h"

#include <QPainter>

namespace {

// The separator colour: a faint line of the text colour.
constexpr qreal separatorAlpha = 0.25;

} // namespace

DividerLine::DividerLine(qreal opacity, QWidget *parent)
    : QWidget(parent)
    , m_opacity(opacity) {
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void DividerLine::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(),
                     Style::color(Style::Role::Primary, palette(), separatorAlpha * m_opacity));
}
