#include "panel/SymbolButton.h"

#include "panel/PanelPainting.h"
#include "ui/FocusRing.h"

#include <QPainter>

SymbolButton::SymbolButton(const QString &symbol, const QString &label, qreal pointSize,
                           Style::Role role, QWidget *parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_pointSize(pointSize)
    , m_role(role) {
    setCursor(Qt::PointingHandCursor);
    // Tab reaches it; a click leaves the keyboard where it was (in the search field).
    setFocusPolicy(Qt::TabFocus);
    setToolTip(label);
    setAccessibleName(label);
}

QSize SymbolButton::sizeHint() const {
    return PanelPainting::symbolBox(m_pointSize).toSize() + QSize(6, 6);
}

void SymbolButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QColor tint = Style::color(m_role, palette(), isDown() ? 0.6 : 1.0);
    PanelPainting::drawSymbol(painter, m_symbol, rect(), m_pointSize, tint);
    if (hasFocus())
        FocusRing::paint(painter, rect(), 5, palette());
}
