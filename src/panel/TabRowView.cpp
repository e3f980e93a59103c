#include "panel/TabRowView.h"

#include "panel/PaintedRows.h"
#include "panel/PanelPainting.h"
#include "ui/Style.h"

#include <QFontMetricsF>
#include <QPainter>

using Style::Role;

namespace {

constexpr qreal outerPaddingX = 8;
constexpr qreal outerPaddingY = 1;
constexpr qreal innerPaddingX = 10;
constexpr qreal innerPaddingY = 7;
constexpr qreal spacing = 12;
constexpr qreal minimumGap = 4;
constexpr QSizeF slotSize(48, 36);
constexpr qreal activeDot = 7;
constexpr qreal titleToDot = 6;
constexpr qreal lineSpacing = 3;
constexpr qreal hintSpacing = 4;
constexpr qreal arrowPointSize = 11;
constexpr qreal hintSymbolPointSize = 9;

QColor rowBackground(const TabRowLook &look, const QPalette &palette) {
    const qreal strong = look.isKeyboardHighlighted ? 1.0 : look.selected;
    const qreal opacity = qMax(strong * 0.18, look.hover * 0.10);
    return Style::color(Role::Accent, palette, opacity);
}

QColor rowBorder(const TabRowLook &look, const QPalette &palette) {
    return Style::color(Role::Accent, palette, look.isKeyboardHighlighted ? 0.55 : 0.0);
}

qreal rowArrowOpacity(const TabRowLook &look) {
    return look.hover * (1.0 - look.selected);
}

void paintThumbnail(QPainter &painter, const QRectF &slot, const Thumbnail &thumbnail,
                    const QPalette &palette) {
    PanelPainting::fillRounded(painter, slot, 5, Style::color(Role::Secondary, palette, 0.1));
    switch (thumbnail.state()) {
    case Thumbnail::State::Loaded:
        Thumbnail::drawCropped(painter, slot, thumbnail.image(), 5);
        break;
    case Thumbnail::State::Loading:
        break;
    case Thumbnail::State::None:
    case Thumbnail::State::Failed:
        PanelPainting::drawSymbol(painter, QStringLiteral("doc.richtext"), slot, 16,
                                  Style::color(Role::Secondary, palette));
        break;
    }
}

void paintLeadingSlot(QPainter &painter, const QRectF &slot, const TabRowLook &look,
                      const QPalette &palette) {
    const qreal symbolShare = look.selectionActive;
    const qreal opacity = painter.opacity();
    if (symbolShare < 1.0) {
        painter.setOpacity(opacity * (1.0 - symbolShare));
        paintThumbnail(painter, slot, look.thumbnail, palette);
    }
    if (symbolShare > 0.0) {
        painter.setOpacity(opacity * symbolShare);
        PanelPainting::drawSymbol(
            painter,
            look.isSelected ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"),
            slot, 18, Style::color(look.isSelected ? Role::Accent : Role::Tertiary, palette));
    }
    painter.setOpacity(opacity);
}

void paintTexts(QPainter &painter, const QRectF &column, const TabRowLook &look,
                const QPalette &palette) {
    const QFont titleFont = Style::font(14, QFont::Medium);
    const QFont hintFont = Style::font(11);
    const qreal titleHeight = QFontMetricsF(titleFont).height();
    const qreal hintHeight = look.folderHint ? QFontMetricsF(hintFont).height() : 0.0;
    const qreal total = titleHeight + (look.folderHint ? lineSpacing + hintHeight : 0.0);
    qreal top = column.center().y() - total / 2;

    const qreal dotSpace = look.isActive ? titleToDot + activeDot : 0.0;
    const qreal titleWidth =
        qMin(PanelPainting::textWidth(titleFont, look.title), qMax(0.0, column.width() - dotSpace));
    const QRectF titleRect(column.left(), top, titleWidth, titleHeight);
    PanelPainting::drawElidedText(painter, titleRect, titleFont,
                                  Style::color(Role::Primary, palette), look.title);
    if (look.isActive) {
        const QRectF dot(titleRect.right() + titleToDot, titleRect.center().y() - activeDot / 2,
                         activeDot, activeDot);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Style::color(Role::Green, palette));
        painter.drawEllipse(dot);
        painter.restore();
    }
    if (!look.folderHint)
        return;
    top += titleHeight + lineSpacing;
    const QColor hintColor = Style::color(Role::Secondary, palette, 0.75);
    const QSizeF symbolSize = PanelPainting::symbolBox(hintSymbolPointSize);
    const QRectF symbol(column.left(), top + (hintHeight - symbolSize.height()) / 2,
                        symbolSize.width(), symbolSize.height());
    PanelPainting::drawSymbol(painter,
                              look.folderHint->isUngrouped ? QStringLiteral("tray")
                                                           : QStringLiteral("folder.fill"),
                              symbol, hintSymbolPointSize, hintColor);
    const qreal hintLeft = symbol.right() + hintSpacing;
    PanelPainting::drawElidedText(
        painter, QRectF(hintLeft, top, column.right() - hintLeft, hintHeight), hintFont, hintColor,
        look.folderHint->isUngrouped ? PaintedRows::ungroupedCaption()
                                     : look.folderHint->folderName);
}

} // namespace

QColor TabRowView::backgroundColor(const TabRowLook &look, const QPalette &palette) {
    return rowBackground(look, palette);
}

QColor TabRowView::borderColor(const TabRowLook &look, const QPalette &palette) {
    return rowBorder(look, palette);
}

qreal TabRowView::arrowOpacity(const TabRowLook &look) {
    return rowArrowOpacity(look);
}

void TabRowView::paintBackground(QPainter &painter, const QRectF &rect, const TabRowLook &look,
                                 const QPalette &palette) {
    const QRectF background =
        rect.adjusted(outerPaddingX, outerPaddingY, -outerPaddingX, -outerPaddingY);
    PanelPainting::fillRounded(painter, background, 8, rowBackground(look, palette));
    PanelPainting::strokeRoundedInside(painter, background, 8, 1.2, rowBorder(look, palette));
}

void TabRowView::paint(QPainter &painter, const QRectF &rect, const TabRowLook &look,
                       const QPalette &palette) {
    paintBackground(painter, rect, look, palette);
    const QRectF background =
        rect.adjusted(outerPaddingX, outerPaddingY, -outerPaddingX, -outerPaddingY);

    const QRectF content =
        background.adjusted(innerPaddingX, innerPaddingY, -innerPaddingX, -innerPaddingY);
    const QRectF slot(QPointF(content.left(), content.center().y() - slotSize.height() / 2),
                      slotSize);
    paintLeadingSlot(painter, slot, look, palette);

    const QSizeF arrowSize = PanelPainting::symbolBox(arrowPointSize);
    const QRectF arrow(
        QPointF(content.right() - arrowSize.width(), content.center().y() - arrowSize.height() / 2),
        arrowSize);
    const qreal opacity = painter.opacity();
    painter.setOpacity(opacity * rowArrowOpacity(look));
    PanelPainting::drawSymbol(painter, QStringLiteral("arrow.up.right"), arrow, arrowPointSize,
                              Style::color(Role::Tertiary, palette));
    painter.setOpacity(opacity);

    const qreal textLeft = slot.right() + spacing;
    const qreal textRight = arrow.left() - spacing - minimumGap - spacing;
    paintTexts(painter,
               QRectF(textLeft, content.top(), qMax(0.0, textRight - textLeft), content.height()),
               look, palette);
}
