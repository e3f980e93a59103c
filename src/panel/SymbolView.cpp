#include "panel/SymbolView.h"

#include "ui/SymbolIcon.h"

#include <QPainter>

SymbolView::SymbolView(const QString &symbol, QSize size, Style::Role role, QWidget *parent)
    : QWidget(parent)
    , m_symbol(symbol)
    , m_size(size)
    , m_role(role) {
    setFixedSize(size);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SymbolView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.drawPixmap(
        0, 0,
        SymbolIcon::pixmap(m_symbol, m_size, Style::color(m_role, palette()), devicePixelRatioF()));
}
