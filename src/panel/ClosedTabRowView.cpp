#include "panel/ClosedTabRowView.h"

#include "panel/PanelPainting.h"
#include "ui/Style.h"

#include <QPainter>

using Style::Role;

namespace {

constexpr int paddingX = 16;
constexpr int paddingY = 9;
constexpr int spacing = 12;
constexpr QSizeF slotSize(48, 36);
constexpr qreal removePointSize = 11;
// The clickable square around the small "xmark".
constexpr int removeHitSide = 22;

void paintThumbnail(QPainter &painter, const QRectF &slot, const Thumbnail &thumbnail,
                    const QPalette &palette) {
    const QColor symbolColor = Style::color(Role::Quaternary, palette);
    if (thumbnail.state() == Thumbnail::State::None) {
        PanelPainting::drawSymbol(painter, QStringLiteral("doc.richtext"), slot, 16, symbolColor);
        return;
    }
    painter.save();
    painter.setOpacity(painter.opacity() * 0.7);
    PanelPainting::fillRounded(painter, slot, 5, Style::color(Role::Secondary, palette, 0.08));
    if (thumbnail.state() == Thumbnail::State::Loaded)
        Thumbnail::drawCropped(painter, slot, thumbnail.image(), 5);
    else
        PanelPainting::drawSymbol(painter, QStringLiteral("doc.richtext"), slot, 16, symbolColor);
    painter.restore();
}

} // namespace

QRect ClosedTabRowView::removeButtonRect(const QRect &row) {
    const int right = row.right() + 1 - paddingX;
    return {right - removeHitSide + 5, row.top() + (row.height() - removeHitSide) / 2,
            removeHitSide, removeHitSide};
}

TabItem ClosedTabRowView::reopenedTab(const ClosedTab &closedTab) {
    return TabItem(QStringLiteral("closed-") + closedTab.stableID, closedTab.title, closedTab.url,
                   false, closedTab.thumbnailURL);
}

void ClosedTabRowView::paint(QPainter &painter, const QRectF &rect, const QString &title,
                             const Thumbnail &thumbnail, bool hovered, const QPalette &palette) {
    if (hovered)
        painter.fillRect(rect, Style::color(Role::Secondary, palette, 0.08));
    const QRectF content = rect.adjusted(paddingX, paddingY, -paddingX, -paddingY);
    const QRectF slot(QPointF(content.left(), content.center().y() - slotSize.height() / 2),
                      slotSize);
    paintThumbnail(painter, slot, thumbnail, palette);

    qreal textRight = content.right();
    if (hovered) {
        const QRectF button = removeButtonRect(rect.toRect());
        PanelPainting::drawSymbol(painter, QStringLiteral("xmark"), button, removePointSize,
                                  Style::color(Role::Tertiary, palette));
        textRight = button.left() - spacing;
    }
    const qreal textLeft = slot.right() + spacing;
    PanelPainting::drawElidedText(
        painter, QRectF(textLeft, content.top(), qMax(0.0, textRight - textLeft), content.height()),
        Style::font(14), Style::color(Role::Secondary, palette), title);
}
