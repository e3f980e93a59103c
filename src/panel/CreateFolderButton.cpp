#include "panel/CreateFolderButton.h"

#include "panel/PanelPainting.h"
#include "ui/Style.h"

#include <QPainter>
#include <QtMath>

namespace {
constexpr qreal symbolPointSize = 12;
constexpr qreal spacing = 6;
constexpr qreal horizontalPadding = 12;
constexpr qreal verticalPadding = 7;

QFont labelFont() {
    return Style::font(13, QFont::Medium);
}
} // namespace

CreateFolderButton::CreateFolderButton(QWidget *parent)
    : QAbstractButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setFont(labelFont());
}

QSize CreateFolderButton::sizeHint() const {
    const QSizeF symbol = PanelPainting::symbolBox(symbolPointSize);
    const qreal width =
        2 * horizontalPadding + symbol.width() + spacing + PanelPainting::textWidth(font(), text());
    const qreal height = 2 * verticalPadding + qMax(symbol.height(), qreal(fontMetrics().height()));
    return {qCeil(width), qCeil(height)};
}

void CreateFolderButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setOpacity(isEnabled() ? (isDown() ? 0.7 : 1.0) : 0.4);
    const QRectF area = rect();
    PanelPainting::fillRounded(painter, area, area.height() / 2,
                               Style::color(Style::Role::Accent, palette(), 0.12));
    const QColor accent = Style::color(Style::Role::Accent, palette());
    const QSizeF symbol = PanelPainting::symbolBox(symbolPointSize);
    const QRectF symbolRect(horizontalPadding, 0, symbol.width(), area.height());
    PanelPainting::drawSymbol(painter, QStringLiteral("folder.badge.plus"), symbolRect,
                              symbolPointSize, accent);
    const qreal textLeft = symbolRect.right() + spacing;
    PanelPainting::drawElidedText(
        painter, QRectF(textLeft, 0, area.width() - textLeft - horizontalPadding, area.height()),
        font(), accent, text());
}
