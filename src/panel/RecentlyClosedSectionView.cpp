#include "panel/RecentlyClosedSectionView.h"

#include "panel/ClosedTabRowView.h"
#include "panel/PanelPainting.h"
#include "panel/PlainTextButton.h"
#include "stores/RecentlyClosedStore.h"
#include "ui/Style.h"

#include <QFontMetrics>
#include <QPainter>

using Style::Role;

namespace {

constexpr int dividerPadding = 6;
constexpr int headerPaddingX = 18;
constexpr int headerPaddingTop = 10;
constexpr int headerPaddingBottom = 6;

int headerHeight() {
    const int line = qMax(QFontMetrics(PanelPainting::captionFont()).height(),
                          QFontMetrics(Style::font(12, QFont::Medium)).height());
    return headerPaddingTop + line + headerPaddingBottom;
}

} // namespace

RecentlyClosedSectionView::RecentlyClosedSectionView(const QList<ClosedTab> &closedTabs,
                                                     const PanelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_clearButton(
          new PlainTextButton(tr("Clear"), Style::font(12, QFont::Medium), Role::Tertiary, this)) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(m_clearButton, &QAbstractButton::clicked, this, &RecentlyClosedSectionView::clear);

    m_stack.addSpace(dividerPadding * 2 + 1);
    m_stack.addSpace(headerHeight());
    m_rows.reserve(closedTabs.size());
    for (const ClosedTab &closedTab : closedTabs) {
        auto *row = new ClosedTabRowView(closedTab, context, this);
        m_rows.append(row);
        m_stack.add(row);
    }
}

void RecentlyClosedSectionView::clear() {
    if (m_context.recentlyClosedStore)
        m_context.recentlyClosedStore->clear();
}

QSize RecentlyClosedSectionView::sizeHint() const {
    return {420, m_stack.height()};
}

QRect RecentlyClosedSectionView::headerRect() const {
    return {0, m_stack.topOf(1), width(), m_stack.topOf(2) - m_stack.topOf(1)};
}

void RecentlyClosedSectionView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    m_stack.layout(rect());
    const QRect header = headerRect().adjusted(headerPaddingX, headerPaddingTop, -headerPaddingX,
                                               -headerPaddingBottom);
    const QSize button = m_clearButton->sizeHint();
    m_clearButton->setGeometry(header.right() + 1 - button.width(),
                               header.center().y() - button.height() / 2 + 1, button.width(),
                               button.height());
}

void RecentlyClosedSectionView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(QRect(0, dividerPadding, width(), 1),
                     Style::color(Role::Quaternary, palette(), 0.5));
    const QRect header = headerRect().adjusted(headerPaddingX, headerPaddingTop, -headerPaddingX,
                                               -headerPaddingBottom);
    PanelPainting::drawElidedText(painter, header, PanelPainting::captionFont(),
                                  Style::color(Role::Tertiary, palette()),
                                  tr("Recently Closed").toUpper());
}
