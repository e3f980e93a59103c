#include "panel/UngroupedSectionView.h"

#include "panel/AppNotifications.h"
#include "panel/PanelPainting.h"
#include "panel/TabRowView.h"
#include "panel/UngroupedHintCard.h"
#include "panel/UngroupedInsertionLine.h"
#include "panel/style/Style.h"
#include "stores/FolderStore.h"

#include <QFontMetrics>
#include <QPainter>

using Style::Role;

namespace {

constexpr int paddingX = 8;
constexpr int paddingY = 1;
constexpr int lineIndent = 20;
constexpr int headerPaddingX = 18;
constexpr int headerPaddingTop = 14;
constexpr int headerPaddingBottom = 8;
constexpr int cardPaddingX = 14;
constexpr int cardPaddingBottom = 10;

QFont captionFont() {
    return PanelPainting::trackedFont(11, QFont::DemiBold, 0.4);
}

int headerHeight() {
    return headerPaddingTop + QFontMetrics(captionFont()).height() + headerPaddingBottom;
}

} // namespace

UngroupedSectionView::UngroupedSectionView(const QList<TabItem> &tabs, const PanelContext &context,
                                           QWidget *parent)
    : QWidget(parent)
    , m_tabs(tabs)
    , m_context(context)
    , m_dropHighlight(this, [this](const QStringList &stableIDs) { dropTabs(stableIDs); }) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_stack.addSpace(headerHeight());
    FolderStore *store = context.folderStore;
    if (store && store->folders().isEmpty()) {
        m_hintCard = new UngroupedHintCard(this);
        if (AppNotifications *notifications = context.notifications)
            connect(m_hintCard, &UngroupedHintCard::createFolderRequested, notifications,
                    &AppNotifications::startCreatingFolder);
        m_stack.add(m_hintCard, cardPaddingX);
        m_stack.addSpace(cardPaddingBottom);
    }
    m_rows.reserve(tabs.size());
    m_lines.reserve(tabs.size() + 1);
    for (qsizetype p = 0; p <= tabs.size(); ++p) {
        auto *line = new UngroupedInsertionLine(int(p), tabs, store, this);
        m_lines.append(line);
        m_stack.add(line, lineIndent);
        if (p == tabs.size())
            break;
        auto *row = new TabRowView(tabs[p], context, std::nullopt, this);
        m_rows.append(row);
        m_stack.add(row);
    }
}

void UngroupedSectionView::setKeyboardHighlightedID(const QString &stableID) {
    for (TabRowView *row : std::as_const(m_rows))
        row->setKeyboardHighlightedID(stableID);
}

void UngroupedSectionView::dropTabs(const QStringList &stableIDs) {
    if (!m_context.folderStore)
        return;
    for (const QString &stableID : stableIDs)
        m_context.folderStore->removeFromFolder(stableID);
}

QColor UngroupedSectionView::captionColor() const {
    return Style::color(isDragTargeted() ? Role::Accent : Role::Secondary, palette());
}

QSize UngroupedSectionView::sizeHint() const {
    return {420, m_stack.height() + paddingY * 2};
}

QRect UngroupedSectionView::backgroundRect() const {
    return rect().adjusted(paddingX, paddingY, -paddingX, -paddingY);
}

void UngroupedSectionView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    m_dropHighlight.setGeometry(rect());
    // The card is inset on both sides, not only on the leading one.
    const QRect background = backgroundRect();
    m_stack.layout(background);
    if (m_hintCard) {
        QRect card = m_hintCard->geometry();
        card.setRight(background.right() - cardPaddingX);
        m_hintCard->setGeometry(card);
    }
}

void UngroupedSectionView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect background = backgroundRect();
    m_dropHighlight.paint(painter, background);
    const QRect header(background.left() + headerPaddingX, background.top() + headerPaddingTop,
                       background.width() - 2 * headerPaddingX,
                       QFontMetrics(captionFont()).height());
    PanelPainting::drawElidedText(painter, header, captionFont(), captionColor(), tr("UNGROUPED"));
    if (isDragTargeted())
        PanelPainting::drawElidedText(painter, header, captionFont(),
                                      Style::color(Role::Accent, palette()), tr("Drop to ungroup"),
                                      Qt::AlignRight);
}
