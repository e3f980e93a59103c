#include "panel/SymbolButton.h"

#include "panel/PanelPainting.h"

#include <QPainter>

SymbolButton::SymbolButton(const QString &symbol, qreal pointSize, Style::Role role, qreal opacity,
                           QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_pointSize(pointSize)
    , m_role(role)
    , m_opacity(opacity) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

QSize SymbolButton::sizeHint() const {
    return PanelPainting::symbolBox(m_pointSize).toSize() + QSize(6, 6);
}

void SymbolButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QColor tint = Style::color(m_role, palette(), isDown() ? m_opacity * 0.6 : m_opacity);
    PanelPainting::drawSymbol(painter, m_symbol, rect(), m_pointSize, tint);
}
