#include "panel/PlainTextButton.h"

#include "ui/FocusRing.h"

#include <QFontMetrics>
#include <QPainter>

PlainTextButton::PlainTextButton(const QString &text, const QFont &font, Style::Role role,
                                 QWidget *parent)
    : QAbstractButton(parent)
    , m_role(role) {
    setText(text);
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    // Tab reaches it; a click leaves the keyboard where it was (in the search field).
    setFocusPolicy(Qt::TabFocus);
}

QSize PlainTextButton::sizeHint() const {
    // Room around the text for the focus ring.
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 2 + 2 * ringPadding.width(),
            metrics.height() + 2 * ringPadding.height()};
}

void PlainTextButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QColor color = Style::color(m_role, palette());
    if (isDown())
        color.setAlphaF(color.alphaF() * 0.6f);
    painter.setPen(color);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    if (hasFocus())
        FocusRing::paint(painter, rect(), 5, palette());
}
