#include "panel/ListController.h"

#include "panel/ClosedTabRowView.h"
#include "panel/PanelShell.h"
#include "panel/PlainText.h"
#include "panel/model/DragGeometry.h"
#include "panel/model/FolderNaming.h"
#include "panel/model/RowTransition.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "tabs/TabManager.h"

#include <QMenu>

#include <algorithm>

#include <utility>

namespace {

constexpr qreal tabDragThreshold = 4;
constexpr qreal folderDragThreshold = 5;

QString folderLabel(const QString &name) {
    return QString::fromUtf8("\xF0\x9F\x93\x81 ") + name;
}

} // namespace

ListController::ListController(const PanelContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context) {
}

void ListController::setRows(const ListRows &rows) {
    m_rows = rows;
    applyHighlight();
    // The pressed row went: nothing is left to click or drag.
    if (m_press && !m_drag && !rowOf(m_press->hit.row)) {
        m_press.reset();
        emit holdChanged();
    }
}

const ListRow *ListController::rowOf(const RowKey &key) const {
    const std::optional<qsizetype> index = m_rows.rowWithKey(key);
    return index ? &m_rows.rows()[*index] : nullptr;
}

void ListController::press(const RowHit &hit, const QPointF &point,
                           Qt::KeyboardModifiers modifiers) {
    if (isHolding() || !rowOf(hit.row))
        return;
    m_press = Press{hit, point, modifiers};
    emit holdChanged();
}

bool ListController::mayDrag(const Press &press, const ListRow &row) const {
    if (row.kind == RowKind::TabRow)
        return !(press.modifiers & Qt::ControlModifier);
    // Folders move only by the handle of the edit-mode header.
    return row.kind == RowKind::FolderHeader && press.hit.part == RowPart::Handle &&
           m_rows.isEditingFolders();
}

void ListController::moveTo(const QPointF &point) {
    if (!m_press || m_drag)
        return;
    const ListRow *row = rowOf(m_press->hit.row);
    if (!row || !mayDrag(*m_press, *row))
        return;
    const qreal threshold = row->kind == RowKind::TabRow ? tabDragThreshold : folderDragThreshold;
    if (DragGeometry::exceedsThreshold(m_press->point, point, threshold))
        startDrag(*row);
}

void ListController::startDrag(const ListRow &row) {
    ListDrag drag;
    if (row.kind == RowKind::FolderHeader) {
        drag.folderID = row.folderID;
        drag.label = folderLabel(m_rows.folders().value(row.index).folder.displayName());
    } else {
        const QString stableID = m_rows.stableIDOf(row);
        const QSet<QString> selected =
            m_context.selectionStore ? m_context.selectionStore->selectedIDs() : QSet<QString>();
        drag.stableIDs =
            selected.contains(stableID) ? m_rows.inShownOrder(selected) : QStringList{stableID};
        drag.label = drag.stableIDs.size() < 2
                         ? m_rows.tabs()[row.item].displayTitle()
                         : QStringLiteral("%1 files").arg(drag.stableIDs.size());
    }
    m_drag = std::move(drag);
    emit holdChanged();
}

void ListController::setTargets(const std::optional<DropTarget> &line,
                                const std::optional<DropTarget> &zone) {
    if (!m_drag || (m_drag->line == line && m_drag->zone == zone))
        return;
    m_drag->line = line;
    m_drag->zone = zone;
    emit holdChanged();
}

void ListController::release(const std::optional<RowHit> &hit) {
    if (m_drag) {
        finishDrag(true);
        return;
    }
    const std::optional<Press> press = std::exchange(m_press, std::nullopt);
    if (!press)
        return;
    emit holdChanged();
    const RowHit &pressed = press->hit;
    switch (pressed.part) {
    case RowPart::Handle:
        return;
    case RowPart::Button:
        // As a push button: only when the button comes up where it went down.
        if (hit == pressed)
            activate(pressed.row, RowPart::Button);
        return;
    case RowPart::Body:
        // The pressed row, wherever a rebuild has moved it since.
        if (pressed.row.kind == RowKind::TabRow && (press->modifiers & Qt::ControlModifier))
            toggleSelected(pressed.row);
        else
            activate(pressed.row, RowPart::Body);
        return;
    }
}

void ListController::cancel() {
    if (m_drag) {
        finishDrag(false);
        return;
    }
    if (m_press) {
        m_press.reset();
        emit holdChanged();
    }
}

void ListController::finishDrag(bool drop) {
    const std::optional<ListDrag> drag = std::exchange(m_drag, std::nullopt);
    m_press.reset();
    emit holdChanged();
    if (drop)
        applyDrop(*drag);
    if (!drag->folderID && m_context.selectionStore)
        m_context.selectionStore->clear();
}

void ListController::applyDrop(const ListDrag &drag) {
    FolderStore *store = m_context.folderStore;
    // A line inside a section wins over the section around it.
    const std::optional<DropTarget> target = drag.line ? drag.line : drag.zone;
    if (!store || !target)
        return;
    using Kind = DropTarget::Kind;
    switch (target->kind) {
    case Kind::FolderOrderLine:
        if (drag.folderID)
            store->moveFolder(*drag.folderID, target->index);
        return;
    case Kind::FolderLine:
        store->moveTabs(drag.stableIDs, target->folderID, target->between);
        return;
    case Kind::UngroupedLine:
        store->placeInUngrouped(drag.stableIDs, target->between,
                                m_context.tabManager ? m_context.tabManager->tabs()
                                                     : QList<TabItem>());
        return;
    case Kind::FolderSection:
    case Kind::FolderRow:
        store->appendTabs(drag.stableIDs, target->folderID);
        return;
    case Kind::UngroupedSection:
    case Kind::UngroupedRow:
        store->ungroup(drag.stableIDs);
        return;
    }
}

void ListController::activate(const RowKey &key, RowPart part) {
    const ListRow *row = rowOf(key);
    if (!row)
        return;
    FolderStore *folders = m_context.folderStore;
    switch (row->kind) {
    case RowKind::TabRow:
        openTab(m_rows.tabs()[row->item]);
        return;
    case RowKind::ClosedRow: {
        const ClosedTab closed = m_rows.closedTabs()[row->item];
        if (part == RowPart::Button) {
            if (m_context.recentlyClosedStore)
                m_context.recentlyClosedStore->remove(closed.stableID);
        } else if (m_context.tabManager) {
            m_context.tabManager->openTab(ClosedTabRowView::reopenedTab(closed));
        }
        return;
    }
    case RowKind::FolderHeader:
        if (!folders || (m_rows.isEditingFolders() && part != RowPart::Button))
            return;
        if (m_rows.isEditingFolders())
            folders->deleteFolder(row->folderID);
        else
            folders->toggleExpanded(row->folderID);
        emit rowsEase(RowTransition::quickMs);
        return;
    case RowKind::RecentCaption:
        if (part != RowPart::Button || !m_context.recentlyClosedStore)
            return;
        m_context.recentlyClosedStore->clear();
        emit rowsEase(RowTransition::defaultMs);
        return;
    case RowKind::HintCard:
        if (part == RowPart::Button)
            emit createFolderRequested();
        return;
    case RowKind::NoResults:
        if (part == RowPart::Button)
            createFolderFromSearch();
        return;
    default:
        return;
    }
}

void ListController::toggleSelected(const RowKey &key) {
    const ListRow *row = rowOf(key);
    if (row && row->kind == RowKind::TabRow && m_context.selectionStore)
        m_context.selectionStore->toggle(m_rows.stableIDOf(*row));
}

QMenu *ListController::createMenu(const RowKey &key, QWidget *parent) {
    const ListRow *row = rowOf(key);
    FolderStore *store = m_context.folderStore;
    if (!row || !store)
        return nullptr;
    auto *menu = new QMenu(parent);
    if (row->kind == RowKind::TabRow) {
        const QString stableID = m_rows.stableIDOf(*row);
        const QList<TabFolder> folders = store->folders();
        if (!folders.isEmpty()) {
            QMenu *moveMenu = menu->addMenu(tr("Move to Folder"));
            for (const TabFolder &folder : folders) {
                moveMenu->addAction(PlainText::menuItemText(folder.displayName()), this,
                                    [this, stableID, id = folder.id] {
                                        m_context.folderStore->addTab(
                                            stableID, id,
                                            m_context.tabManager ? m_context.tabManager->tabs()
                                                                 : QList<TabItem>());
                                    });
            }
        }
        if (store->isInFolder(stableID))
            menu->addAction(tr("Remove from Folder"), this, [this, stableID] {
                m_context.folderStore->removeFromFolder(stableID);
            });
    } else if (row->kind == RowKind::FolderHeader && !m_rows.isEditingFolders()) {
        const QUuid id = row->folderID;
        menu->addAction(tr("Rename"), this, [this, id] { emit renameRequested(id); });
        menu->addSeparator();
        menu->addAction(tr("Delete Folder"), this,
                        [this, id] { m_context.folderStore->deleteFolder(id); });
    }
    if (menu->isEmpty()) {
        delete menu;
        return nullptr;
    }
    return menu;
}

QMenu *ListController::showMenu(const RowKey &row, const QPoint &globalPos, QWidget *parent) {
    cancel();
    QMenu *menu = createMenu(row, parent);
    if (!menu)
        return nullptr;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
    return menu;
}

void ListController::setSnapshot(const PanelSnapshot &snapshot) {
    m_snapshot = snapshot;
    applyHighlight();
}

QList<RowKey> ListController::navigableRows() const {
    QList<RowKey> keys;
    if (m_snapshot.isSearching()) {
        // The results as they are derived, shown or not yet.
        for (const TabItem &tab : m_snapshot.navigableTabs) {
            const std::optional<qsizetype> row = m_rows.rowOfTab(tab.stableID());
            keys += row ? m_rows.key(m_rows.rows()[*row])
                        : RowKey{.kind = RowKind::TabRow, .isResult = true, .item = tab.stableID()};
        }
        return keys;
    }
    for (const ListRow &row : m_rows.rows()) {
        switch (row.kind) {
        case RowKind::TabRow:
        case RowKind::FolderHeader:
        case RowKind::ClosedRow:
        case RowKind::RecentCaption:
        case RowKind::HintCard:
            keys += m_rows.key(row);
            break;
        default:
            break;
        }
    }
    return keys;
}

std::optional<RowKey> ListController::highlightedRow() const {
    const QList<RowKey> keys = navigableRows();
    const std::optional<qsizetype> index = m_highlight.highlightedIndex(keys.size());
    return index ? std::optional(keys[*index]) : std::nullopt;
}

QString ListController::highlightedID() const {
    const std::optional<RowKey> row = highlightedRow();
    return row && row->kind == RowKind::TabRow ? row->item : QString();
}

bool ListController::highlight(const RowKey &row) {
    const QList<RowKey> keys = navigableRows();
    const qsizetype index = keys.indexOf(row);
    if (index < 0)
        return false;
    m_highlight.moveTo(keys.size(), index);
    applyHighlight();
    return true;
}

bool ListController::handleKey(int key, Qt::KeyboardModifiers modifiers, KeyOrigin origin) {
    const qsizetype count = navigableRows().size();
    const std::optional<RowKey> highlighted = highlightedRow();
    if ((key == Qt::Key_Menu || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) ||
        (key == Qt::Key_Space && modifiers == Qt::ControlModifier)) {
        if (!highlighted || !rowOf(*highlighted))
            return key != Qt::Key_Space;
        if (key != Qt::Key_Space)
            emit menuRequested(*highlighted);
        else if (highlighted->kind == RowKind::TabRow)
            toggleSelected(*highlighted);
        return true;
    }
    switch (key) {
    case Qt::Key_Down:
    case Qt::Key_Up: {
        const bool consumed =
            key == Qt::Key_Down ? m_highlight.moveDown(count) : m_highlight.moveUp(count);
        applyHighlight();
        return consumed;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        openHighlighted();
        return true;
    case Qt::Key_Escape:
        // As popups on Linux: what is in progress ends first, the panel last.
        if (m_drag)
            cancel();
        else if (!m_snapshot.searchText.isEmpty())
            emit searchClearRequested();
        else if (m_context.shell)
            m_context.shell->closePanel();
        return true;
    default:
        // The search field keeps these for its text.
        return origin == KeyOrigin::List && handleListKey(key, highlighted, count);
    }
}

bool ListController::handleListKey(int key, const std::optional<RowKey> &highlighted,
                                   qsizetype count) {
    const bool onHeader = highlighted && highlighted->kind == RowKind::FolderHeader;
    switch (key) {
    case Qt::Key_Home:
    case Qt::Key_End:
        m_highlight.moveTo(count, key == Qt::Key_Home ? 0 : count - 1);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        m_highlight.moveBy(count, key == Qt::Key_PageUp ? -m_pageRows : m_pageRows);
        break;
    case Qt::Key_Left:
        if (onHeader) {
            setExpanded(*highlighted, false);
        } else if (const ListRow *row = highlighted ? rowOf(*highlighted) : nullptr;
                   row && row->kind == RowKind::TabRow && !row->folderID.isNull()) {
            return highlight({.kind = RowKind::FolderHeader, .folderID = row->folderID});
        }
        return true;
    case Qt::Key_Right:
        if (onHeader)
            setExpanded(*highlighted, true);
        return true;
    case Qt::Key_F2:
        if (onHeader && !m_rows.isEditingFolders())
            emit renameRequested(highlighted->folderID);
        return onHeader;
    case Qt::Key_Delete: {
        // As the row's own trash or xmark.
        const bool onClosedRow = highlighted && highlighted->kind == RowKind::ClosedRow;
        if (onClosedRow || (onHeader && m_rows.isEditingFolders()))
            activate(*highlighted, RowPart::Button);
        return onHeader || onClosedRow;
    }
    default:
        return false;
    }
    applyHighlight();
    return true;
}

void ListController::setExpanded(const RowKey &header, bool expanded) {
    const std::optional<qsizetype> index = m_rows.rowWithKey(header);
    if (!index || m_rows.isEditingFolders())
        return;
    if (m_rows.sections().value(m_rows.rows()[*index].section).isExpanded != expanded)
        activate(header);
}

void ListController::setPageRows(int rows) {
    m_pageRows = qMax(1, rows);
}

void ListController::resetHighlight() {
    m_highlight.reset();
    applyHighlight();
}

void ListController::applyHighlight() {
    const std::optional<RowKey> row = highlightedRow();
    if (row == m_shownHighlight)
        return;
    m_shownHighlight = row;
    emit highlightChanged(row);
}

void ListController::openHighlighted() {
    switch (m_snapshot.returnOutcome()) {
    case ReturnOutcome::CreateFolderFromSearch:
        createFolderFromSearch();
        return;
    case ReturnOutcome::Nothing:
        if (const std::optional<RowKey> row = highlightedRow())
            activateHighlighted(*row); // a header or a closed row with no tab open anywhere
        return;
    case ReturnOutcome::OpenTab:
        break;
    }
    const std::optional<RowKey> row = highlightedRow();
    if (row && row->kind != RowKind::TabRow) {
        activateHighlighted(*row);
        return;
    }
    // Before any arrow key, Return opens the first tab the keys reach.
    const QList<TabItem> &tabs = m_snapshot.navigableTabs;
    const auto highlightedTab = std::find_if(tabs.begin(), tabs.end(), [&](const TabItem &tab) {
        return row && tab.stableID() == row->item;
    });
    openTab(highlightedTab != tabs.end() ? *highlightedTab : tabs.first());
    emit searchClearRequested();
    if (m_context.shell)
        m_context.shell->closePanel();
}

void ListController::activateHighlighted(const RowKey &row) {
    const RowHit reached = RowHit::highlighted(row);
    activate(reached.row, reached.part);
}

void ListController::openTab(const TabItem &tab) {
    if (m_context.selectionStore)
        m_context.selectionStore->clear();
    if (m_context.tabManager)
        m_context.tabManager->openTab(tab);
}

void ListController::createFolder(const QString &typedName) {
    if (m_context.folderStore)
        FolderNaming::createFromRow(*m_context.folderStore, typedName);
}

void ListController::renameFolder(const QUuid &folderID, const QString &typedName) {
    const QString name = FolderNaming::trimmed(typedName);
    if (!name.isEmpty() && m_context.folderStore)
        m_context.folderStore->renameFolder(folderID, name);
}

void ListController::createFolderFromSearch() {
    if (m_context.folderStore &&
        FolderNaming::createFromSearch(*m_context.folderStore, m_snapshot.searchText))
        emit searchClearRequested();
}
