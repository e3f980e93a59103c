#include "panel/TabSectionView.h"

#include "panel/TabRowView.h"

namespace {
constexpr int insetX = 8;
constexpr int insetY = 1;
} // namespace

TabSectionView::TabSectionView(const PanelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_dropHighlight(this, [this](const QStringList &stableIDs) { dropTabs(stableIDs); }) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void TabSectionView::setKeyboardHighlightedID(const QString &stableID) {
    for (TabRowView *row : std::as_const(m_rows))
        row->setKeyboardHighlightedID(stableID);
}

TabRowView *TabSectionView::addRow(const TabItem &tab, int indent) {
    auto *row = new TabRowView(tab, m_context, std::nullopt, this);
    m_rows.append(row);
    m_stack.add(row, indent);
    return row;
}

QSize TabSectionView::sizeHint() const {
    return {420, m_stack.height() + insetY * 2};
}

QRect TabSectionView::backgroundRect() const {
    return rect().adjusted(insetX, insetY, -insetX, -insetY);
}

void TabSectionView::paintBackground(QPainter &painter) const {
    m_dropHighlight.paint(painter, backgroundRect());
}

void TabSectionView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    m_dropHighlight.setGeometry(rect());
    m_stack.layout(backgroundRect());
}
