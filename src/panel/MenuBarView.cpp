#include "panel/MenuBarView.h"

#include "hotkey/SpotlightSearchController.h"
#include "panel/AppNotifications.h"
#include "panel/EmptyStateView.h"
#include "panel/ListController.h"
#include "panel/LoadingStateView.h"
#include "panel/PaintedRows.h"
#include "panel/PanelFooterView.h"
#include "panel/PanelHeaderView.h"
#include "panel/PanelLineEdit.h"
#include "panel/PlainTextButton.h"
#include "panel/RebuildScheduler.h"
#include "panel/RowListView.h"
#include "panel/SearchFieldView.h"
#include "panel/SymbolButton.h"
#include "panel/model/ListHeight.h"
#include "settings/DividerLine.h"
#include "settings/SettingsView.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "tabs/TabManager.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

namespace {

std::optional<int> availableScreenHeight() {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? std::optional<int>(screen->availableGeometry().height()) : std::nullopt;
}

} // namespace

MenuBarView::MenuBarView(const PanelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_scheduler(new RebuildScheduler([this] { rebuild(); }, this)) {
    setFixedWidth(panelWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_panelPage = buildPanelPage();
    layout->addWidget(m_panelPage);
    buildFocusChain();
    connectStores();
    // Built at once, so the panel has its real size before it is first shown.
    rebuild();
}

MenuBarView::~MenuBarView() = default;

QWidget *MenuBarView::buildPanelPage() {
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Made in reading order: a screen reader lists a widget's children as they were made.
    m_header = new PanelHeaderView(page);
    QWidget *searchRow = buildSearchRow(page);
    m_loading = new LoadingStateView(page);
    m_empty = new EmptyStateView(*m_context.tabManager, page);
    m_list = new RowListView(m_context, page);
    m_footer = new PanelFooterView(m_context.hotkey, page);

    layout->addWidget(m_header);
    layout->addWidget(new DividerLine(0.5, page));
    layout->addWidget(searchRow);
    layout->addWidget(new DividerLine(0.5, page));
    for (QWidget *content : {static_cast<QWidget *>(m_loading), static_cast<QWidget *>(m_empty),
                             static_cast<QWidget *>(m_list)}) {
        content->hide();
        layout->addWidget(content);
    }
    layout->addWidget(new DividerLine(0.5, page));
    layout->addWidget(m_footer);

    connect(m_header, &PanelHeaderView::newFolderRequested, this,
            &MenuBarView::startCreatingFolder);
    connect(m_footer, &PanelFooterView::settingsRequested, this,
            [this] { setShowingSettings(true); });
    connect(m_list, &RowListView::newFolderSubmitted, this,
            [this](const QString &name) { finishCreatingFolder(&name); });
    connect(m_list, &RowListView::newFolderCancelled, this,
            [this] { finishCreatingFolder(nullptr); });
    ListController *controller = m_list->controller();
    connect(controller, &ListController::createFolderRequested, this,
            &MenuBarView::startCreatingFolder);
    connect(controller, &ListController::searchClearRequested, this,
            [this] { setSearchText(QString()); });
    connect(m_list, &RowListView::rowWidthChanged, this, &MenuBarView::scheduleRebuild);
    connect(m_list, &RowListView::heightChanged, this, [this] {
        updateGeometry();
        emit preferredHeightChanged();
    });
    return page;
}

// Only Tab reaches the list, a click leaves the keyboard in the search field. The list then
// takes the keys the search field takes.
void MenuBarView::buildFocusChain() {
    m_list->setFocusPolicy(Qt::TabFocus);
    m_list->installEventFilter(this);
    // From the search field, where the keyboard starts, round to the header's button.
    QWidget *chain[] = {m_searchField->field(),
                        m_searchField->clearButton(),
                        m_editButton,
                        m_doneButton,
                        m_list,
                        m_list->newFolderField(),
                        m_footer->settingsButton(),
                        m_header->newFolderButton()};
    for (qsizetype i = 0; i + 1 < qsizetype(std::size(chain)); ++i)
        setTabOrder(chain[i], chain[i + 1]);
    // The keyboard starts there when the window first shows, not on the first button.
    m_searchField->focusField();
}

bool MenuBarView::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_list)
        return QWidget::eventFilter(watched, event);
    ListController *controller = m_list->controller();
    if (event->type() == QEvent::FocusIn && !controller->highlightedRow())
        controller->handleKey(Qt::Key_Down);
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // The Menu key came as a context menu event already.
        return key->key() != Qt::Key_Menu &&
               controller->handleKey(key->key(), key->modifiers(), KeyOrigin::List);
    }
    return QWidget::eventFilter(watched, event);
}

QWidget *MenuBarView::buildSearchRow(QWidget *page) {
    auto *row = new QWidget(page);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(14, 10, 14, 10);
    layout->setSpacing(10);
    m_searchField = new SearchFieldView(row);
    // Two buttons rather than one re-tinted: "Done" is in the accent colour.
    m_editButton = new PlainTextButton(QStringLiteral("Edit"), Style::font(13, QFont::Medium),
                                       Style::Role::Secondary, row);
    m_doneButton = new PlainTextButton(QStringLiteral("Done"), Style::font(13, QFont::Medium),
                                       Style::Role::Accent, row);
    layout->addWidget(m_searchField, 1);
    layout->addWidget(m_editButton);
    layout->addWidget(m_doneButton);

    m_searchField->setOnKey([this](int key, Qt::KeyboardModifiers modifiers) {
        // Act on what is shown: a keystroke may have changed the search text this very turn.
        flushRebuild();
        return m_list->controller()->handleKey(key, modifiers);
    });
    connect(m_searchField, &SearchFieldView::textChanged, this, [this] {
        m_list->controller()->resetHighlight();
        scheduleRebuild();
    });
    connect(m_searchField, &SearchFieldView::clearPressed, this,
            [this] { m_list->animateNextRows(RowTransition::defaultMs); });
    connect(m_editButton, &QAbstractButton::clicked, this, [this] { setEditingFolders(true); });
    connect(m_doneButton, &QAbstractButton::clicked, this, [this] { setEditingFolders(false); });
    return row;
}

void MenuBarView::connectStores() {
    const auto rebuildOnChange = [this](auto *sender, auto signal) {
        if (sender)
            connect(sender, signal, this, &MenuBarView::scheduleRebuild);
    };
    rebuildOnChange(m_context.tabManager, &TabManager::tabsChanged);
    rebuildOnChange(m_context.tabManager, &TabManager::isLoadingChanged);
    // The empty state's height follows its line about the missing or unreadable session file.
    rebuildOnChange(m_context.tabManager, &TabManager::missingSessionFilesChanged);
    rebuildOnChange(m_context.tabManager, &TabManager::sessionFileFailureChanged);
    rebuildOnChange(m_context.folderStore, &FolderStore::foldersChanged);
    rebuildOnChange(m_context.folderStore, &FolderStore::ungroupedOrderChanged);
    rebuildOnChange(m_context.recentlyClosedStore, &RecentlyClosedStore::closedTabsChanged);
    if (m_context.notifications) {
        connect(m_context.notifications, &AppNotifications::focusSearchField, this,
                &MenuBarView::focusSearchField);
        connect(m_context.notifications, &AppNotifications::startCreatingFolder, this,
                &MenuBarView::startCreatingFolder);
    }
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::availableGeometryChanged, this, &MenuBarView::scheduleRebuild);
    }
}

void MenuBarView::scheduleRebuild() {
    m_scheduler->request();
}

void MenuBarView::flushRebuild() {
    m_scheduler->flush();
}

void MenuBarView::rebuildNow() {
    m_scheduler->request();
    m_scheduler->flush();
}

void MenuBarView::rebuild() {
    const QList<TabItem> tabs = m_context.tabManager->tabs();
    m_snapshot =
        m_derivation.derive({tabs, m_context.tabManager->isLoading(), *m_context.folderStore,
                             m_context.recentlyClosedStore->recentTabs(), searchText()});
    // Edit mode ends with the last folder: there is nothing left to arrange.
    if (m_snapshot.folders.isEmpty())
        m_isEditingFolders = false;
    m_header->setTabCount(m_snapshot.tabCount);
    updateEditButton();
    showContent(m_snapshot.contentState);
    m_list->controller()->setSnapshot(m_snapshot);
}

void MenuBarView::showContent(ContentState state) {
    m_loading->setVisible(state == ContentState::Loading);
    m_empty->setVisible(state == ContentState::Empty);
    m_list->setHeightCap(ListHeight::cap(availableScreenHeight()));
    if (state == ContentState::NormalList)
        m_list->setRows(
            ListRows::normal(m_snapshot, m_isEditingFolders, m_isCreatingFolder, rowHeights()));
    else if (state == ContentState::SearchResults)
        m_list->setRows(ListRows::search(m_snapshot, rowHeights()));
    else
        m_list->setRows({});
    m_list->setVisible(visibleList() != nullptr);
    updateGeometry();
    emit preferredHeightChanged();
}

const RowHeights &MenuBarView::rowHeights() {
    // Before its first layout the list is as wide as the panel.
    const int width =
        m_list->testAttribute(Qt::WA_Resized) ? m_list->viewport()->width() : panelWidth;
    if (width != m_rowHeightsWidth) {
        m_rowHeightsWidth = width;
        m_rowHeights =
            PaintedRows::measuredHeights(m_list->newFolderField()->sizeHint().height(), width);
    }
    return m_rowHeights;
}

RowListView *MenuBarView::visibleList() const {
    switch (m_snapshot.contentState) {
    case ContentState::NormalList:
    case ContentState::SearchResults:
        return m_list;
    case ContentState::Loading:
    case ContentState::Empty:
        break;
    }
    return nullptr;
}

QWidget *MenuBarView::visibleContent() const {
    switch (m_snapshot.contentState) {
    case ContentState::Loading:
        return m_loading;
    case ContentState::Empty:
        return m_empty;
    case ContentState::NormalList:
    case ContentState::SearchResults:
        break;
    }
    return visibleList();
}

void MenuBarView::updateEditButton() {
    const bool hasFolders = !m_snapshot.folders.isEmpty();
    m_editButton->setVisible(hasFolders && !m_isEditingFolders);
    m_doneButton->setVisible(hasFolders && m_isEditingFolders);
}

QString MenuBarView::searchText() const {
    return m_searchField->text();
}

void MenuBarView::setSearchText(const QString &text) {
    m_searchField->setText(text);
}

QString MenuBarView::keyboardHighlightedTabID() const {
    return m_list->controller()->highlightedID();
}

const KeyboardHighlight &MenuBarView::keyboardHighlight() const {
    return m_list->controller()->keyboardHighlight();
}

void MenuBarView::focusSearchField() {
    setSearchText(QString());
    m_list->controller()->resetHighlight();
    // Behind the settings page, Return in the hidden field would open a tab nobody sees.
    if (!isShowingSettings())
        m_searchField->focusField();
}

void MenuBarView::startCreatingFolder() {
    const bool wasCreating = m_isCreatingFolder;
    m_isCreatingFolder = true;
    // The row must be in place before it can take the keyboard.
    rebuildNow();
    m_list->beginNewFolder();
    if (!wasCreating)
        m_list->scrollToTop();
}

void MenuBarView::finishCreatingFolder(const QString *typedName) {
    if (typedName)
        m_list->controller()->createFolder(*typedName);
    m_isCreatingFolder = false;
    m_list->newFolderField()->clear();
    scheduleRebuild();
    m_searchField->focusField();
}

void MenuBarView::setEditingFolders(bool editing) {
    if (editing && m_context.folderStore->folders().isEmpty())
        return;
    if (editing == m_isEditingFolders)
        return;
    m_isEditingFolders = editing;
    updateEditButton();
    scheduleRebuild();
    m_list->animateNextRows(RowTransition::quickMs);
}

void MenuBarView::setShowingSettings(bool showing) {
    if (showing == isShowingSettings())
        return;
    if (showing) {
        if (!m_context.hotkey || !m_context.updaterManager || !m_context.autostart)
            return;
        m_settings = new SettingsView(
            *m_context.hotkey, *m_context.updaterManager, *m_context.autostart,
            [this] { setShowingSettings(false); }, this);
        layout()->addWidget(m_settings);
        m_panelPage->hide();
        m_settings->show();
        // The hidden search field keeps the keyboard otherwise, and Return would open a tab.
        m_settings->setFocus(Qt::OtherFocusReason);
    } else {
        // Later: the page's own back button is still being handled.
        layout()->removeWidget(m_settings);
        m_settings->hide();
        m_settings->deleteLater();
        m_settings = nullptr;
        m_panelPage->show();
        m_searchField->focusField();
    }
    updateGeometry();
    emit preferredHeightChanged();
}
