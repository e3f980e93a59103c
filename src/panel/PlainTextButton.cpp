#include "panel/PlainTextButton.h"

#include <QFontMetrics>
#include <QPainter>

PlainTextButton::PlainTextButton(const QString &text, const QFont &font, Style::Role role,
                                 QWidget *parent)
    : QAbstractButton(parent)
    , m_role(role) {
    setText(text);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

QSize PlainTextButton::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 2, metrics.height()};
}

void PlainTextButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QColor color = Style::color(m_role, palette());
    if (isDown())
        color.setAlphaF(color.alphaF() * 0.6f);
    painter.setPen(color);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}
