#include "panel/FolderSectionView.h"

#include "panel/PanelPainting.h"
#include "ui/Style.h"

#include <QFontMetrics>

using Style::Role;

namespace {

QFont countFont() {
    return Style::font(12);
}

qreal paddingX(bool isEditMode) {
    return isEditMode ? 10 : 14;
}

qreal paddingY(bool isEditMode) {
    return isEditMode ? 10 : 11;
}

constexpr int handleHeight = 36;

} // namespace

QFont FolderSectionView::nameFont() {
    return Style::font(15, QFont::DemiBold);
}

FolderSectionView::HeaderParts FolderSectionView::headerParts(const QRectF &header, bool isEditMode,
                                                              qsizetype tabCount) {
    const QRectF box = header.adjusted(paddingX(isEditMode), paddingY(isEditMode),
                                       -paddingX(isEditMode), -paddingY(isEditMode));
    const qreal spacing = isEditMode ? 10 : 8;
    HeaderParts parts;
    parts.leading = QRectF(box.left(), box.top(), isEditMode ? 28 : 12, box.height());
    parts.icon = QRectF(parts.leading.right() + spacing, box.top(),
                        PanelPainting::symbolBox(14).width(), box.height());
    qreal right = box.right();
    if (isEditMode) {
        const qreal trash = PanelPainting::symbolBox(13).width() + 6;
        parts.trash = QRectF(right - trash, box.top(), trash, box.height());
        right -= trash + spacing;
    } else {
        right -= 2;
    }
    const qreal countWidth = PanelPainting::textWidth(countFont(), QString::number(tabCount));
    parts.count = QRectF(right - countWidth, box.top(), countWidth + 1, box.height());
    right -= countWidth + spacing;
    const qreal left = parts.icon.right() + spacing;
    parts.name = QRectF(left, box.top(), qMax(0.0, right - left), box.height());
    return parts;
}

int FolderSectionView::headerHeight(bool isEditMode) {
    const int content = isEditMode ? handleHeight : QFontMetrics(nameFont()).height();
    return int(2 * paddingY(isEditMode)) + content;
}

QRectF FolderSectionView::nameFieldRect(const QRectF &header, bool isEditMode, qsizetype tabCount) {
    const QRectF name = headerParts(header, isEditMode, tabCount).name;
    const qreal height = QFontMetrics(nameFont()).height() + 4;
    return {name.left(), name.center().y() - height / 2, name.width(), height};
}

void FolderSectionView::paintHeader(QPainter &painter, const QRectF &header,
                                    const TabFolder &folder, const HeaderLook &look,
                                    const QPalette &palette) {
    const HeaderParts parts = headerParts(header, look.isEditMode, look.tabCount);
    if (look.isEditMode) {
        PanelPainting::drawSymbol(painter, QStringLiteral("line.3.horizontal"), parts.leading, 13,
                                  Style::color(Role::Secondary, palette));
        PanelPainting::drawSymbol(painter, QStringLiteral("trash"), parts.trash, 13,
                                  Style::color(Role::Red, palette, 0.8));
    } else {
        PanelPainting::drawSymbol(painter,
                                  folder.isExpanded ? QStringLiteral("chevron.down")
                                                    : QStringLiteral("chevron.right"),
                                  parts.leading, 10, Style::color(Role::Tertiary, palette));
    }
    PanelPainting::drawSymbol(painter, QStringLiteral("folder.fill"), parts.icon, 14,
                              look.isDropTarget && !look.isEditMode
                                  ? QColor(Qt::white)
                                  : Style::color(Role::Blue, palette));
    PanelPainting::drawElidedText(painter, parts.count, countFont(),
                                  Style::color(Role::Tertiary, palette),
                                  QString::number(look.tabCount));
    if (look.showsName)
        PanelPainting::drawElidedText(painter, parts.name, nameFont(),
                                      Style::color(Role::Primary, palette), folder.displayName());
}
