#include "panel/ClosedTabRowView.h"

#include "panel/PanelPainting.h"
#include "stores/RecentlyClosedStore.h"
#include "tabs/TabManager.h"
#include "ui/Style.h"

#include <QMouseEvent>
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
    painter.setOpacity(0.7);
    PanelPainting::fillRounded(painter, slot, 5, Style::color(Role::Secondary, palette, 0.08));
    if (thumbnail.state() == Thumbnail::State::Loaded)
        Thumbnail::drawCropped(painter, slot, thumbnail.image(), 5);
    else
        PanelPainting::drawSymbol(painter, QStringLiteral("doc.richtext"), slot, 16, symbolColor);
    painter.restore();
}

} // namespace

ClosedTabRowView::ClosedTabRowView(const ClosedTab &closedTab, const PanelContext &context,
                                   QWidget *parent)
    : QWidget(parent)
    , m_closedTab(closedTab)
    , m_title(displayTitle(closedTab.title))
    , m_context(context) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    m_thumbnail.load(closedTab.thumbnailURL, this);
}

QSize ClosedTabRowView::sizeHint() const {
    return {420, rowHeight};
}

void ClosedTabRowView::setHovered(bool hovered) {
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    update();
}

QRect ClosedTabRowView::removeButtonRect(const QRect &row) {
    const int right = row.right() + 1 - paddingX;
    return {right - removeHitSide + 5, row.top() + (row.height() - removeHitSide) / 2,
            removeHitSide, removeHitSide};
}

TabItem ClosedTabRowView::reopenedTab(const ClosedTab &closedTab) {
    return TabItem(QStringLiteral("closed-") + closedTab.stableID, closedTab.title, closedTab.url,
                   false, closedTab.thumbnailURL);
}

void ClosedTabRowView::reopen() {
    if (m_context.tabManager)
        m_context.tabManager->openTab(reopenedTab());
}

void ClosedTabRowView::remove() {
    if (m_context.recentlyClosedStore)
        m_context.recentlyClosedStore->remove(m_closedTab.stableID);
}

void ClosedTabRowView::enterEvent(QEnterEvent *event) {
    QWidget::enterEvent(event);
    setHovered(true);
}

void ClosedTabRowView::leaveEvent(QEvent *event) {
    QWidget::leaveEvent(event);
    setHovered(false);
}

void ClosedTabRowView::mousePressEvent(QMouseEvent *event) {
    event->setAccepted(event->button() == Qt::LeftButton);
}

void ClosedTabRowView::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    // Removing may delete this row on the next rebuild; nothing touches it afterwards.
    if (m_hovered && removeButtonRect().contains(event->position().toPoint()))
        remove();
    else
        reopen();
}

void ClosedTabRowView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    paint(painter, rect(), m_title, m_thumbnail, m_hovered, palette());
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
