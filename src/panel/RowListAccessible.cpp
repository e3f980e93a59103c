#include "panel/RowListAccessible.h"

#include "panel/ClosedTabRowView.h"
#include "panel/FolderSectionView.h"
#include "panel/InPlaceNameField.h"
#include "panel/PaintedRows.h"
#include "panel/PanelLineEdit.h"
#include "panel/RowListView.h"
#include "panel/model/FolderNaming.h"
#include "panel/model/PanelTexts.h"
#include "stores/FolderStore.h"
#include "stores/SelectionStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QWindow>

namespace {

bool isEditModeHeader(const ListRows &rows, const ListRow &row) {
    return row.kind == RowKind::FolderHeader && rows.isEditingFolders();
}

// Rows that carry a painted button of their own.
bool hasButton(const ListRows &rows, const ListRow &row) {
    switch (row.kind) {
    case RowKind::RecentCaption:
    case RowKind::HintCard:
    case RowKind::NoResults:
    case RowKind::ClosedRow:
        return true;
    case RowKind::FolderHeader:
        return isEditModeHeader(rows, row);
    default:
        return false;
    }
}

// Lines only show where a drag would land; the new-folder row is its field.
bool isRead(const ListRow &row) {
    switch (row.kind) {
    case RowKind::FolderOrderLine:
    case RowKind::FolderLine:
    case RowKind::UngroupedLine:
    case RowKind::NewFolder:
        return false;
    default:
        return true;
    }
}

bool canCreateFromSearch(const RowListView &view) {
    const FolderStore *store = view.context().folderStore;
    return store && FolderNaming::canCreateFromSearch(view.rows().query(), store->folders());
}

// A row or its button, painted in the list: what it is called and does is read from the rows
// as they are now, found again by what it stands for.
class RowPartAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RowPartAccessible(RowListView *view, const RowHit &part)
        : m_view(view)
        , m_part(part) {}

    bool isValid() const override { return row() != nullptr; }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override {
        return QAccessible::queryAccessibleInterface(m_view);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text type) const override {
        const ListRow *shown = row();
        if (!shown)
            return {};
        if (type == QAccessible::Name)
            return isButton() ? buttonName(*shown) : name(*shown);
        if (type == QAccessible::Description)
            return isButton() ? QString() : description(*shown);
        return {};
    }

    QRect rect() const override {
        const ListRow *shown = row();
        if (!shown)
            return {};
        return QRect(m_view->viewport()->mapToGlobal(partRect().topLeft().toPoint()),
                     partRect().size().toSize());
    }

    QAccessible::Role role() const override {
        const ListRow *shown = row();
        if (isButton())
            return QAccessible::Button;
        switch (shown ? shown->kind : RowKind::TabRow) {
        case RowKind::TabRow:
        case RowKind::FolderHeader:
        case RowKind::ClosedRow:
        case RowKind::FolderDropRow:
        case RowKind::UngroupedDropRow:
            return QAccessible::ListItem;
        default:
            return QAccessible::StaticText;
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        const ListRow *shown = row();
        if (!shown) {
            state.invalid = true;
            return state;
        }
        const QRectF visible = QRectF(m_view->viewport()->rect());
        state.offscreen = !partRect().intersects(visible);
        state.invisible = !m_view->isVisible();
        if (isButton()) {
            state.focusable = true;
            state.disabled = shown->kind == RowKind::NoResults && !canCreateFromSearch(*m_view);
            state.focused = isHighlighted();
            return state;
        }
        const ListRows &rows = m_view->rows();
        switch (shown->kind) {
        case RowKind::TabRow: {
            const QString id = rows.stableIDOf(*shown);
            const SelectionStore *selection = m_view->context().selectionStore;
            state.focusable = true;
            state.selectable = true;
            state.multiSelectable = true;
            state.selected = selection && selection->selectedIDs().contains(id);
            break;
        }
        case RowKind::FolderHeader:
            state.focusable = true;
            if (!isEditModeHeader(rows, *shown)) {
                state.expandable = true;
                state.expanded = rows.sections().value(shown->section).isExpanded;
                state.collapsed = !state.expanded;
            }
            break;
        case RowKind::ClosedRow:
            state.focusable = true;
            break;
        default:
            state.readOnly = true;
            break;
        }
        state.focused = state.focusable && isHighlighted();
        return state;
    }

    // The highlight is the focus while the keys reach the list, from it or the search field;
    // with a button focused, that button alone is.
    bool isHighlighted() const {
        const std::optional<RowKey> &highlight = m_view->keyboardHighlight();
        return highlight && RowHit::highlighted(*highlight) == m_part &&
               !qobject_cast<QAbstractButton *>(QApplication::focusWidget());
    }

    void *interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }

    QStringList actionNames() const override {
        const ListRow *shown = row();
        if (!shown)
            return {};
        if (isButton())
            return {pressAction()};
        switch (shown->kind) {
        case RowKind::TabRow:
            return {pressAction(), toggleAction(), showMenuAction()};
        case RowKind::FolderHeader:
            if (isEditModeHeader(m_view->rows(), *shown))
                return {};
            return {pressAction(), showMenuAction()};
        case RowKind::ClosedRow:
            return {pressAction()};
        default:
            return {};
        }
    }

    void doAction(const QString &action) override {
        if (!actionNames().contains(action))
            return;
        if (action == showMenuAction())
            m_view->showMenuAtRow(m_part.row);
        else if (action == toggleAction())
            m_view->controller()->toggleSelected(m_part.row);
        else
            m_view->controller()->activate(m_part.row, m_part.part);
    }

    QStringList keyBindingsForAction(const QString &action) const override {
        if (action == pressAction())
            return {QStringLiteral("Return")};
        if (action == showMenuAction())
            return {QStringLiteral("Shift+F10")};
        if (action == toggleAction())
            return {QStringLiteral("Ctrl+Space")};
        return {};
    }

private:
    bool isButton() const { return m_part.part == RowPart::Button; }

    const ListRow *row() const {
        if (!m_view)
            return nullptr;
        const std::optional<qsizetype> index = m_view->rows().rowWithKey(m_part.row);
        return index ? &m_view->rows().rows()[*index] : nullptr;
    }

    // In the viewport.
    QRectF partRect() const {
        const qsizetype index = *m_view->rows().rowWithKey(m_part.row);
        const std::optional<QRectF> button = isButton() ? m_view->buttonRect(index) : std::nullopt;
        return button ? *button : m_view->rowRect(index);
    }

    QString name(const ListRow &shown) const {
        const ListRows &rows = m_view->rows();
        switch (shown.kind) {
        case RowKind::TabRow:
            return rows.tabs()[shown.item].displayTitle();
        case RowKind::FolderHeader:
        case RowKind::FolderDropRow:
            return rows.folders().value(shown.index).folder.name;
        case RowKind::ClosedRow:
            return QStringLiteral("Reopen ") + displayTitle(rows.closedTabs()[shown.item].title);
        case RowKind::UngroupedCaption:
        case RowKind::UngroupedDropRow:
            return PaintedRows::ungroupedCaption();
        case RowKind::HintCard:
            return PaintedRows::hintTitle();
        case RowKind::RecentCaption:
            return PaintedRows::recentCaption();
        case RowKind::ResultsCaption:
            return PanelTexts::resultCount(rows.tabs().size());
        case RowKind::NoResults:
            return PanelTexts::noResults(rows.query());
        case RowKind::DropCaption:
            return PaintedRows::dropCaption();
        case RowKind::NewFolder:
        case RowKind::FolderOrderLine:
        case RowKind::FolderLine:
        case RowKind::UngroupedLine:
            break;
        }
        return {};
    }

    QString description(const ListRow &shown) const {
        const ListRows &rows = m_view->rows();
        switch (shown.kind) {
        case RowKind::TabRow: {
            QStringList parts;
            if (const std::optional<FolderHint> hint = rows.folderHint(shown.item))
                parts.append(hint->isUngrouped ? PaintedRows::ungroupedCaption()
                                               : QStringLiteral("In folder ") + hint->folderName);
            if (rows.tabs()[shown.item].isActive)
                parts.append(QStringLiteral("Active in Figma"));
            return parts.join(QStringLiteral(", "));
        }
        case RowKind::FolderHeader:
            return PanelTexts::tabCount(rows.folders().value(shown.index).tabs.size());
        case RowKind::HintCard:
            return PaintedRows::cardBody();
        case RowKind::FolderDropRow:
        case RowKind::UngroupedDropRow:
            return QStringLiteral("Drop target");
        default:
            return {};
        }
    }

    QString buttonName(const ListRow &shown) const {
        const ListRows &rows = m_view->rows();
        switch (shown.kind) {
        case RowKind::RecentCaption:
            return PaintedRows::clearText() + u' ' + PaintedRows::recentCaption();
        case RowKind::HintCard:
            return PaintedRows::firstFolderText();
        case RowKind::NoResults:
            return PanelTexts::createFolder(rows.query());
        case RowKind::ClosedRow:
            return QStringLiteral("Remove %1 from %2")
                .arg(displayTitle(rows.closedTabs()[shown.item].title),
                     PaintedRows::recentCaption());
        case RowKind::FolderHeader:
            return QStringLiteral("Delete Folder ") + rows.folders().value(shown.index).folder.name;
        default:
            return {};
        }
    }

    QPointer<RowListView> m_view;
    RowHit m_part;
};

QAccessibleInterface *listFactory(const QString &className, QObject *object) {
    if (className == QLatin1String("RowListView"))
        return new RowListAccessible(static_cast<RowListView *>(object));
    return nullptr;
}

} // namespace

RowListAccessible::RowListAccessible(RowListView *view)
    : QAccessibleWidget(view, QAccessible::List, QStringLiteral("Tabs")) {
    QObject::connect(view, &RowListView::rowsReplaced, view, [this] { rowsReplaced(); });
    QObject::connect(view, &RowListView::highlightMoved, view,
                     [this](const std::optional<RowKey> &row) { highlightMoved(row); });
    if (SelectionStore *selection = view->context().selectionStore) {
        m_selection = selection->selectedIDs();
        QObject::connect(selection, &SelectionStore::selectedIDsChanged, view,
                         [this] { selectionChanged(); });
    }
    m_expanded = folderExpansion();
}

RowListAccessible::~RowListAccessible() {
    for (const QAccessible::Id id : std::as_const(m_ids))
        QAccessible::deleteAccessibleInterface(id);
}

void RowListAccessible::install() {
    QAccessible::installFactory(listFactory);
}

RowListView *RowListAccessible::view() const {
    return static_cast<RowListView *>(object());
}

QList<RowListAccessible::Child> RowListAccessible::children() const {
    const RowListView *list = view();
    const ListRows &rows = list->rows();
    QWidget *newFolder = list->newFolderField();
    QWidget *rename = list->renameField();
    QList<Child> found;
    for (qsizetype i = 0; i < rows.rows().size(); ++i) {
        const ListRow &row = rows.rows()[i];
        const RowKey key = rows.key(row);
        if (row.kind == RowKind::NewFolder && newFolder->isVisibleTo(list))
            found.append(Child{{key}, newFolder});
        if (!isRead(row))
            continue;
        found.append(Child{{key}});
        // The name being edited, over its folder's header.
        if (row.kind == RowKind::FolderHeader && rename && rename->isVisibleTo(list) &&
            list->rowRect(i).contains(rename->geometry().center()))
            found.append(Child{{key}, rename});
        if (hasButton(rows, row))
            found.append(Child{{key, RowPart::Button}});
    }
    return found;
}

QAccessibleInterface *RowListAccessible::interfaceFor(const RowHit &part) const {
    auto id = m_ids.constFind(part);
    if (id != m_ids.constEnd())
        return QAccessible::accessibleInterface(*id);
    auto *created = new RowPartAccessible(view(), part);
    m_ids.insert(part, QAccessible::registerAccessibleInterface(created));
    return created;
}

QAccessibleInterface *RowListAccessible::interfaceFor(const Child &child) const {
    return child.field ? QAccessible::queryAccessibleInterface(child.field)
                       : interfaceFor(child.part);
}

int RowListAccessible::childCount() const {
    return int(children().size());
}

QAccessibleInterface *RowListAccessible::child(int index) const {
    const QList<Child> all = children();
    return index >= 0 && index < all.size() ? interfaceFor(all[index]) : nullptr;
}

int RowListAccessible::indexOfChild(const QAccessibleInterface *child) const {
    const QList<Child> all = children();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (interfaceFor(all[i]) == child)
            return int(i);
    }
    return -1;
}

QAccessibleInterface *RowListAccessible::childAt(int x, int y) const {
    const RowListView *list = view();
    const std::optional<RowHit> hit = list->hitAt(list->viewport()->mapFromGlobal(QPointF(x, y)));
    if (!hit)
        return nullptr;
    // A normal folder header is one button as a whole: its child is the row.
    const bool hasButtonChild =
        hit->part == RowPart::Button && list->buttonRect(*list->rows().rowWithKey(hit->row));
    return interfaceFor(RowHit{hit->row, hasButtonChild ? RowPart::Button : RowPart::Body});
}

QAccessibleInterface *RowListAccessible::focusChild() const {
    const RowListView *list = view();
    for (QWidget *field : {static_cast<QWidget *>(list->newFolderField()),
                           static_cast<QWidget *>(list->renameField())}) {
        if (field && field->hasFocus())
            return QAccessible::queryAccessibleInterface(field);
    }
    const std::optional<RowKey> &highlight = list->keyboardHighlight();
    if (!highlight || !list->rows().rowWithKey(*highlight))
        return nullptr;
    return interfaceFor(RowHit::highlighted(*highlight));
}

QHash<QUuid, bool> RowListAccessible::folderExpansion() const {
    QHash<QUuid, bool> expansion;
    const ListRows &rows = view()->rows();
    for (const ListRow &row : rows.rows()) {
        if (row.kind == RowKind::FolderHeader && !isEditModeHeader(rows, row))
            expansion.insert(row.folderID, rows.sections().value(row.section).isExpanded);
    }
    return expansion;
}

void RowListAccessible::rowsReplaced() {
    // Parts that went are forgotten; a reader asking for them again finds nothing.
    const ListRows &rows = view()->rows();
    QSet<RowKey> shown;
    for (const ListRow &row : rows.rows())
        shown.insert(rows.key(row));
    for (auto it = m_ids.begin(); it != m_ids.end();) {
        if (!shown.contains(it.key().row)) {
            QAccessible::deleteAccessibleInterface(*it);
            it = m_ids.erase(it);
        } else {
            ++it;
        }
    }
    const QHash<QUuid, bool> expansion = folderExpansion();
    const QHash<QUuid, bool> before = std::exchange(m_expanded, expansion);
    QAccessibleEvent reordered(view(), QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reordered);
    for (auto it = expansion.constBegin(); it != expansion.constEnd(); ++it) {
        if (before.contains(it.key()) && before.value(it.key()) != it.value()) {
            QAccessible::State changed;
            changed.expanded = true;
            changed.collapsed = true;
            sendStateChange({.kind = RowKind::FolderHeader, .folderID = it.key()}, changed);
        }
    }
}

void RowListAccessible::highlightMoved(const std::optional<RowKey> &row) {
    if (!row || !view()->rows().rowWithKey(*row))
        return;
    QAccessibleEvent focus(interfaceFor(RowHit::highlighted(*row)), QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void RowListAccessible::selectionChanged() {
    const QSet<QString> selection = view()->context().selectionStore->selectedIDs();
    const QSet<QString> changedIDs = (selection - m_selection) + (m_selection - selection);
    m_selection = selection;
    const ListRows &rows = view()->rows();
    for (const QString &id : changedIDs) {
        const std::optional<qsizetype> row = rows.rowOfTab(id);
        if (!row)
            continue;
        // The AT-SPI bridge turns these, not a state change, into "state-changed:selected".
        QAccessibleEvent event(interfaceFor(RowHit{rows.key(rows.rows()[*row])}),
                               selection.contains(id) ? QAccessible::SelectionAdd
                                                      : QAccessible::SelectionRemove);
        QAccessible::updateAccessibility(&event);
    }
}

void RowListAccessible::sendStateChange(const RowKey &row, QAccessible::State changed) {
    QAccessibleStateChangeEvent event(interfaceFor(RowHit{row}), changed);
    QAccessible::updateAccessibility(&event);
}
