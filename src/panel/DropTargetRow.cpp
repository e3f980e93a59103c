#include "panel/DropTargetRow.h"

#include "panel/PanelPainting.h"
#include "ui/Style.h"

#include <QFontMetrics>
#include <QPainter>

using Style::Role;

namespace {

constexpr int marginX = 10;
constexpr int marginY = 2;
constexpr int paddingX = 14;
constexpr int paddingY = 11;
constexpr int spacing = 10;
constexpr qreal symbolPointSize = 14;

QFont nameFont() {
    return Style::font(15, QFont::DemiBold);
}

QFont dropHereFont() {
    return Style::font(12, QFont::Medium);
}

} // namespace

DropTargetRow::DropTargetRow(QWidget *parent)
    : QWidget(parent)
    , m_dropHighlight(this, [this](const QStringList &stableIDs) { dropTabs(stableIDs); }) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QColor DropTargetRow::symbolColor() const {
    return isTargeted() ? Style::color(Role::Accent, palette()) : look().restingSymbolColor;
}

QSize DropTargetRow::sizeHint() const {
    const int line = qMax(QFontMetrics(nameFont()).height(),
                          int(PanelPainting::symbolBox(symbolPointSize).height()));
    return {420, line + 2 * paddingY + 2 * marginY};
}

QRect DropTargetRow::shapeRect() const {
    return rect().adjusted(marginX, marginY, -marginX, -marginY);
}

void DropTargetRow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    m_dropHighlight.setGeometry(shapeRect());
}

void DropTargetRow::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect shape = shapeRect();
    m_dropHighlight.paint(painter, shape);
    const Look shown = look();
    const QRectF content = QRectF(shape).adjusted(paddingX, paddingY, -paddingX, -paddingY);
    const qreal symbolWidth = PanelPainting::symbolBox(symbolPointSize).width();
    PanelPainting::drawSymbol(painter, shown.symbol,
                              QRectF(content.left(), content.top(), symbolWidth, content.height()),
                              symbolPointSize, symbolColor());
    qreal nameRight = content.right();
    if (isTargeted()) {
        const QString dropHere = tr("Drop here");
        const qreal width = PanelPainting::textWidth(dropHereFont(), dropHere);
        PanelPainting::drawElidedText(
            painter, QRectF(content.right() - width, content.top(), width + 1, content.height()),
            dropHereFont(), Style::color(Role::Accent, palette()), dropHere);
        nameRight -= width + spacing;
    }
    const qreal nameLeft = content.left() + symbolWidth + spacing;
    PanelPainting::drawElidedText(
        painter, QRectF(nameLeft, content.top(), qMax(0.0, nameRight - nameLeft), content.height()),
        nameFont(), shown.nameColor, shown.name);
}
