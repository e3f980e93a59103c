#include "panel/UngroupedSectionView.h"

#include "panel/AppNotifications.h"
#include "panel/PanelPainting.h"
#include "panel/UngroupedHintCard.h"
#include "panel/UngroupedInsertionLine.h"
#include "stores/FolderStore.h"
#include "ui/Style.h"

#include <QFontMetrics>
#include <QPainter>

using Style::Role;

namespace {

constexpr int lineIndent = 20;
constexpr int headerPaddingX = 18;
constexpr int headerPaddingTop = 14;
constexpr int headerPaddingBottom = 8;
constexpr int cardPaddingX = 14;
constexpr int cardPaddingBottom = 10;

int headerHeight() {
    return headerPaddingTop + QFontMetrics(PanelPainting::captionFont()).height() +
           headerPaddingBottom;
}

} // namespace

UngroupedSectionView::UngroupedSectionView(const QList<TabItem> &tabs, const PanelContext &context,
                                           QWidget *parent)
    : TabSectionView(context, parent)
    , m_tabs(tabs) {
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
    m_lines.reserve(tabs.size() + 1);
    for (qsizetype p = 0; p <= tabs.size(); ++p) {
        auto *line = new UngroupedInsertionLine(int(p), tabs, store, this);
        m_lines.append(line);
        m_stack.add(line, lineIndent);
        if (p == tabs.size())
            break;
        addRow(tabs[p], 0);
    }
}

void UngroupedSectionView::dropTabs(const QStringList &stableIDs) {
    if (m_context.folderStore)
        m_context.folderStore->ungroup(stableIDs);
}

QColor UngroupedSectionView::captionColor() const {
    return Style::color(isDragTargeted() ? Role::Accent : Role::Secondary, palette());
}

void UngroupedSectionView::resizeEvent(QResizeEvent *event) {
    TabSectionView::resizeEvent(event);
    // The card is inset on both sides, not only on the leading one.
    const QRect background = backgroundRect();
    if (m_hintCard) {
        QRect card = m_hintCard->geometry();
        card.setRight(background.right() - cardPaddingX);
        m_hintCard->setGeometry(card);
    }
}

void UngroupedSectionView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    paintBackground(painter);
    const QRect background = backgroundRect();
    const QRect header(background.left() + headerPaddingX, background.top() + headerPaddingTop,
                       background.width() - 2 * headerPaddingX,
                       QFontMetrics(PanelPainting::captionFont()).height());
    PanelPainting::drawElidedText(painter, header, PanelPainting::captionFont(), captionColor(),
                                  tr("UNGROUPED"));
    if (isDragTargeted())
        PanelPainting::drawElidedText(painter, header, PanelPainting::captionFont(),
                                      Style::color(Role::Accent, palette()), tr("Drop to ungroup"),
                                      Qt::AlignRight);
}
