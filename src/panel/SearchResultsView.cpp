#include "panel/SearchResultsView.h"

#include "panel/CreateFolderButton.h"
#include "panel/FolderDropTargetRow.h"
#include "panel/MenuBarView.h"
#include "panel/PanelPainting.h"
#include "panel/PlainText.h"
#include "panel/TabRowView.h"
#include "panel/UngroupedDropTargetRow.h"
#include "panel/model/FolderNaming.h"
#include "panel/model/PanelTexts.h"
#include "panel/model/TabSearch.h"
#include "settings/DividerLine.h"
#include "stores/FolderStore.h"
#include "ui/RoleLabel.h"

#include <QSet>
#include <QVBoxLayout>

namespace {

QFont captionFont() {
    return PanelPainting::trackedFont(11, QFont::DemiBold, 0.4);
}

// Room for the "No results" text and the create-folder button inside the panel.
constexpr int noResultsWidth = MenuBarView::panelWidth - 2 * 18;

// The message with a query too long for one line shortened in its middle: a word longer than
// the panel would otherwise widen the list beyond it.
QString noResultsMessage(const QString &query, const QFont &font) {
    const QFontMetrics metrics(font);
    const int frame = metrics.horizontalAdvance(PanelTexts::noResults(QString()));
    return PanelTexts::noResults(
        metrics.elidedText(query, Qt::ElideMiddle, qMax(noResultsWidth - frame, 0)));
}

// A caption in the section-header style, with its padding.
QWidget *caption(RoleLabel *label, const QMargins &padding, QWidget *parent) {
    auto *holder = new QWidget(parent);
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(padding);
    layout->addWidget(label);
    return holder;
}

} // namespace

SearchResultsView::SearchResultsView(const PanelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_layout(new QVBoxLayout(this))
    , m_noResults(makeNoResultsBlock())
    , m_header(new RoleLabel(QString(), captionFont(), Style::Role::Tertiary)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    caption(m_header, QMargins(18, 14, 18, 8), this)
        ->setObjectName(QStringLiteral("resultsHeader"));
}

QWidget *SearchResultsView::makeNoResultsBlock() {
    auto *block = new QWidget(this);
    auto *layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 32, 0, 32);
    layout->setSpacing(14);
    m_noResultsLabel = new RoleLabel(QString(), Style::font(14), Style::Role::Secondary, block);
    m_noResultsLabel->setAlignment(Qt::AlignHCenter);
    m_noResultsLabel->setWordWrap(true);
    m_createButton = new CreateFolderButton(block);
    m_createButton->setMaximumWidth(noResultsWidth);
    layout->addWidget(m_noResultsLabel);
    layout->addWidget(m_createButton, 0, Qt::AlignHCenter);
    connect(m_createButton, &QAbstractButton::clicked, this,
            &SearchResultsView::createFolderRequested);
    return block;
}

void SearchResultsView::present(const PanelSnapshot &snapshot) {
    while (QLayoutItem *item = m_layout->takeAt(0))
        delete item;
    QWidget *headerHolder = m_header->parentWidget();

    const bool hasResults = !snapshot.searchResults.isEmpty();
    m_noResults->setVisible(!hasResults);
    headerHolder->setVisible(hasResults);
    if (hasResults) {
        m_header->setText(PanelTexts::resultCount(snapshot.searchResults.size()).toUpper());
        m_layout->addWidget(headerHolder);
    } else {
        m_noResultsLabel->setText(noResultsMessage(snapshot.searchText, m_noResultsLabel->font()));
        PlainText::setButtonText(*m_createButton, PanelTexts::createFolder(snapshot.searchText));
        m_createButton->setEnabled(FolderNaming::canCreateFromSearch(
            snapshot.searchText, m_context.folderStore->folders()));
        m_layout->addWidget(m_noResults);
    }
    placeRows(snapshot);

    const QList<TabFolder> &folders = m_context.folderStore->folders();
    if (folders.isEmpty()) {
        m_dropSection.discard();
    } else {
        QWidget *section = m_dropSection.take(folders, [&] { return makeDropSection(folders); });
        m_layout->addWidget(section);
        section->show();
    }
    m_layout->addStretch(1);
}

void SearchResultsView::placeRows(const PanelSnapshot &snapshot) {
    QSet<QString> shown;
    m_shownRows.clear();
    for (const TabItem &tab : snapshot.searchResults) {
        const QString hint = TabSearch::folderHint(*m_context.folderStore, tab);
        shown.insert(tab.id);
        TabRowView *row = m_rows[tab.id].take({tab, hint}, [&] {
            return new TabRowView(
                tab, m_context, hint.isEmpty() ? std::nullopt : std::optional<QString>(hint), this);
        });
        m_layout->addWidget(row);
        row->show();
        m_shownRows.append(row);
    }
    for (auto it = m_rows.begin(); it != m_rows.end();) {
        if (shown.contains(it.key())) {
            ++it;
        } else {
            it->discard();
            it = m_rows.erase(it);
        }
    }
}

QWidget *SearchResultsView::makeDropSection(const QList<TabFolder> &folders) {
    auto *section = new QWidget(this);
    auto *layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addSpacing(10);
    layout->addWidget(new DividerLine(0.5, section));
    layout->addSpacing(10);
    layout->addWidget(caption(
        new RoleLabel(QStringLiteral("DROP INTO FOLDER"), captionFont(), Style::Role::Tertiary),
        QMargins(18, 0, 18, 8), section));
    for (const TabFolder &folder : folders)
        layout->addWidget(new FolderDropTargetRow(folder, m_context.folderStore, section));
    layout->addWidget(new UngroupedDropTargetRow(m_context.folderStore, section));
    return section;
}

QString SearchResultsView::headerText() const {
    return m_header->isVisibleTo(this) ? m_header->text() : QString();
}

QString SearchResultsView::noResultsText() const {
    return m_noResults->isVisibleTo(this) ? m_noResultsLabel->text() : QString();
}

CreateFolderButton *SearchResultsView::createFolderButton() const {
    return m_noResults->isVisibleTo(this) ? m_createButton : nullptr;
}

void SearchResultsView::setKeyboardHighlightedID(const QString &stableID) {
    for (TabRowView *row : std::as_const(m_shownRows))
        row->setKeyboardHighlightedID(stableID);
}

TabRowView *SearchResultsView::rowFor(const QString &stableID) const {
    for (TabRowView *row : m_shownRows) {
        if (row->stableID() == stableID)
            return row;
    }
    return nullptr;
}
