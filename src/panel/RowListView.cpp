#include "panel/RowListView.h"

#include "dragdrop/DragPreviewLabel.h"
#include "panel/ClosedTabRowView.h"
#include "panel/FolderSectionView.h"
#include "panel/InPlaceNameField.h"
#include "panel/PaintedRows.h"
#include "panel/PanelLineEdit.h"
#include "panel/PanelPainting.h"
#include "panel/TabRowView.h"
#include "panel/model/DragGeometry.h"
#include "panel/model/FolderNaming.h"
#include "panel/model/ListHeight.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "tabs/TabManager.h"
#include "ui/Style.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <utility>

using Style::Role;

namespace {

constexpr qreal tabDragThreshold = 4;
constexpr qreal folderDragThreshold = 5;
constexpr int scrollTickMilliseconds = 16;
constexpr int handleWidth = 28 + 10; // the edit-mode header's handle and its padding
constexpr int hoverFadeMs = 150;
constexpr int selectionFadeMs = 100;

QString hoverLook(const QString &stableID) {
    return QStringLiteral("hover ") + stableID;
}

QString selectedLook(const QString &stableID) {
    return QStringLiteral("selected ") + stableID;
}

const QString selectionMarksLook = QStringLiteral("selection marks");

QString targetLook(const DropTarget &target) {
    return QStringLiteral("lit %1 %2 ").arg(int(target.kind)).arg(target.index) +
           target.folderID.toString(QUuid::WithoutBraces);
}

bool isLine(const DropTarget &target) {
    return target.kind == DropTarget::Kind::FolderLine ||
           target.kind == DropTarget::Kind::UngroupedLine ||
           target.kind == DropTarget::Kind::FolderOrderLine;
}

// Lines show and hide over 0.08 s, zones over 0.1 s.
int fadeMs(const DropTarget &target) {
    return isLine(target) ? 80 : 100;
}

QString folderLabel(const QString &name) {
    return QString::fromUtf8("\xF0\x9F\x93\x81 ") + name;
}

} // namespace

RowListView::RowListView(const PanelContext &context, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_context(context)
    , m_scrollAnimation(verticalScrollBar(), "value")
    , m_cap(ListHeight::cap(std::nullopt))
    , m_height(m_cap)
    , m_newFolderField(new PanelLineEdit(viewport())) {
    // The search field keeps the keyboard; a click on the list must not take it.
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFixedHeight(m_height);
    m_heightAnimation.setDuration(150);
    m_heightAnimation.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&m_heightAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { applyHeight(value.toReal()); });
    m_newFolderField->hide();
    m_newFolderField->setPlaceholderText(tr("Folder name"));
    m_newFolderField->setFont(FolderSectionView::nameFont());
    m_newFolderField->onKey = [this](int key) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit newFolderSubmitted(m_newFolderField->text());
            return true;
        }
        if (key == Qt::Key_Escape) {
            emit newFolderCancelled();
            return true;
        }
        return false;
    };
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    // The view paints its own background, so a scroll can move the drawn rows instead of
    // painting the panel behind them again.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_scrollTimer.setTimerType(Qt::PreciseTimer);
    m_scrollTimer.setInterval(scrollTickMilliseconds);
    connect(&m_scrollTimer, &QTimer::timeout, this, &RowListView::autoScrollTick);
    connect(&m_transition, &RowTransition::advanced, viewport(), qOverload<>(&QWidget::update));
    connect(&m_looks, &LookFades::advanced, this, [this] {
        if (!m_looks.isEasing())
            forgetDarkTargets();
        viewport()->update();
    });
    if (m_context.selectionStore) {
        connect(m_context.selectionStore, &SelectionStore::selectedIDsChanged, this,
                &RowListView::updateSelectionLooks);
        updateSelectionLooks();
    }
}

RowListView::~RowListView() {
    delete m_label;
}

void RowListView::setRows(ListRows rows) {
    const std::optional<int> transition = std::exchange(m_nextTransitionMs, std::nullopt);
    // Nobody sees a hidden list ease.
    if (transition && isVisible())
        m_transition.start(std::move(m_rows), rows, *transition);
    else
        m_transition.stop();
    m_rows = std::move(rows);
    updateScrollRange();
    updateContentHeight();
    placeFields();
    // Rows moved under a resting pointer: hover and lit targets follow from where it is.
    updateHover();
    if (m_drag && m_pointer)
        followPointer(*m_pointer);
    viewport()->update();
    emit rowsReplaced();
}

void RowListView::animateNextRows(int durationMs) {
    m_nextTransitionMs = durationMs;
    // The rebuild is queued by the action; this runs after it.
    QMetaObject::invokeMethod(
        this, [this] { m_nextTransitionMs.reset(); }, Qt::QueuedConnection);
}

const Thumbnail &RowListView::thumbnailFor(const QUrl &url) const {
    // Loaded when first painted. Kept for the view's life: a load in flight calls back into it.
    std::shared_ptr<Thumbnail> &thumbnail = m_thumbnails[url];
    if (!thumbnail) {
        thumbnail = std::make_shared<Thumbnail>();
        if (m_context.thumbnails)
            thumbnail->load(url, *m_context.thumbnails, viewport());
    }
    return *thumbnail;
}

void RowListView::setKeyboardHighlightedID(const QString &stableID) {
    if (stableID == m_highlightID)
        return;
    m_highlightID = stableID;
    viewport()->update();
    emit keyboardHighlightMoved();
    const std::optional<qsizetype> row = m_rows.rowOfTab(stableID);
    if (!row)
        return;
    const ListRow &shown = m_rows.rows()[*row];
    animateScroll(shown.top + shown.height / 2 - viewport()->height() / 2, 120,
                  QEasingCurve::OutCubic);
}

void RowListView::scrollToTop() {
    animateScroll(0, 250, QEasingCurve::InOutQuad);
}

void RowListView::animateScroll(int value, int durationMs, QEasingCurve::Type curve) {
    QScrollBar *bar = verticalScrollBar();
    const int target = std::clamp(value, bar->minimum(), bar->maximum());
    m_scrollAnimation.stop();
    if (target == bar->value())
        return;
    m_scrollAnimation.setDuration(durationMs);
    m_scrollAnimation.setEasingCurve(curve);
    m_scrollAnimation.setStartValue(bar->value());
    m_scrollAnimation.setEndValue(target);
    m_scrollAnimation.start();
}

QRectF RowListView::rowRect(qsizetype index) const {
    return m_rows.rows()[index]
        .rect(viewport()->width())
        .translated(0, -verticalScrollBar()->value());
}

void RowListView::setHeightCap(int cap) {
    if (cap == m_cap)
        return;
    m_cap = cap;
    applyHeight(m_contentHeight);
}

QSize RowListView::sizeHint() const {
    return {QAbstractScrollArea::sizeHint().width(), m_height};
}

void RowListView::updateContentHeight() {
    const int measured = m_rows.height();
    if (measured == m_contentHeight)
        return;
    const int previous = std::exchange(m_contentHeight, measured);
    m_heightAnimation.stop();
    // The first height and changes nobody sees take effect at once.
    if (previous <= 0 || !isVisible()) {
        applyHeight(measured);
        return;
    }
    m_heightAnimation.setStartValue(qreal(previous));
    m_heightAnimation.setEndValue(qreal(measured));
    m_heightAnimation.start();
}

void RowListView::applyHeight(qreal shownContentHeight) {
    const int height = ListHeight::height(m_cap, qRound(shownContentHeight));
    if (height == m_height)
        return;
    m_height = height;
    setFixedHeight(height);
    emit heightChanged();
}

void RowListView::beginNewFolder() {
    m_newFolderField->clear();
    // Hidden behind a search, the loading or the empty state, it must not take the keyboard.
    if (m_newFolderField->isVisibleTo(window()))
        m_newFolderField->setFocus(Qt::OtherFocusReason);
}

std::optional<qsizetype> RowListView::renamedHeader() const {
    return m_rows.rowWithKey(
        m_rows.key({.kind = RowKind::FolderHeader, .folderID = m_renamedFolder}));
}

void RowListView::startRenaming(const QUuid &folderID) {
    m_renamedFolder = folderID;
    if (!renamedHeader()) {
        endRenaming();
        return;
    }
    const QString name = m_rows.folders().value(m_rows.rows()[*renamedHeader()].index).folder.name;
    if (!m_renameField) {
        m_renameField = new InPlaceNameField(name, viewport());
        connect(m_renameField, &InPlaceNameField::submitted, this, &RowListView::commitRename);
        connect(m_renameField, &InPlaceNameField::cancelled, this, &RowListView::endRenaming);
    }
    m_renameField->setText(name);
    placeFields();
    m_renameField->show();
    m_renameField->setFocus(Qt::OtherFocusReason);
    m_renameField->selectAll();
    viewport()->update();
}

void RowListView::commitRename() {
    if (!m_renameField)
        return;
    const QString name = FolderNaming::trimmed(m_renameField->text());
    const QUuid id = m_renamedFolder;
    endRenaming();
    if (!name.isEmpty() && m_context.folderStore)
        m_context.folderStore->renameFolder(id, name);
}

void RowListView::endRenaming() {
    m_renamedFolder = QUuid();
    if (!m_renameField)
        return;
    // The field may be the sender of the signal being handled; delete it once that returns.
    m_renameField->hide();
    m_renameField->deleteLater();
    m_renameField = nullptr;
    viewport()->update();
}

// The text fields are the view's only children: they follow their rows.
void RowListView::placeFields() {
    const qreal width = viewport()->width();
    const qreal offset = verticalScrollBar()->value();
    const QList<ListRow> &rows = m_rows.rows();
    if (!rows.isEmpty() && rows.first().kind == RowKind::NewFolder) {
        const QRectF field = PaintedRows::newFolderFieldRect(rows.first().rect(width),
                                                             m_newFolderField->sizeHint().height());
        m_newFolderField->setGeometry(field.translated(0, -offset).toAlignedRect());
        m_newFolderField->show();
    } else {
        m_newFolderField->hide();
    }
    if (!m_renameField)
        return;
    const std::optional<qsizetype> header = renamedHeader();
    if (!header) {
        endRenaming();
        return;
    }
    const ListRow &row = rows[*header];
    const QRectF field = FolderSectionView::nameFieldRect(
        row.rect(width), !m_rows.sections().value(row.section).takesDrops,
        m_rows.folders().value(row.index).tabs.size());
    m_renameField->setGeometry(field.translated(0, -offset).toAlignedRect());
}

void RowListView::updateScrollRange() {
    QScrollBar *bar = verticalScrollBar();
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(20);
    bar->setRange(0, std::max(0, m_rows.height() - viewport()->height()));
}

void RowListView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    placeFields();
}

QPointF RowListView::toContent(const QPointF &viewportPoint) const {
    return viewportPoint + QPointF(0, verticalScrollBar()->value());
}

void RowListView::mousePressEvent(QMouseEvent *event) {
    // The view owns the mouse from press to release: other buttons change nothing meanwhile.
    if (m_press || m_drag || event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const std::optional<qsizetype> row =
        m_rows.rowAt(toContent(event->position()), viewport()->width());
    if (!row)
        return;
    const ListRow &pressed = m_rows.rows()[*row];
    m_press = Press{event->position(), event->modifiers(), pressed, m_rows.key(pressed)};
}

bool RowListView::mayStartDrag(const Press &press) const {
    if (press.row.kind == RowKind::TabRow)
        return !(press.modifiers & Qt::ControlModifier);
    // Folders move only by the handle of the edit-mode header.
    const bool editMode = !m_rows.sections().value(press.row.section).takesDrops;
    return press.row.kind == RowKind::FolderHeader && editMode &&
           press.point.x() < press.row.indent + handleWidth;
}

void RowListView::mouseMoveEvent(QMouseEvent *event) {
    m_pointer = event->position();
    if (m_press && !m_drag && (event->buttons() & Qt::LeftButton) && mayStartDrag(*m_press)) {
        const qreal threshold =
            m_press->row.kind == RowKind::TabRow ? tabDragThreshold : folderDragThreshold;
        if (DragGeometry::exceedsThreshold(m_press->point, event->position(), threshold))
            startDrag(*m_press);
    }
    if (m_drag)
        followPointer(event->position());
    else
        updateHover();
}

void RowListView::startDrag(const Press &press) {
    Drag drag;
    if (press.row.kind == RowKind::FolderHeader) {
        drag.folderID = press.row.folderID;
        drag.label = folderLabel(m_rows.folders().value(press.row.index).folder.name);
    } else {
        const TabItem &tab = m_rows.tabs()[press.row.item];
        const QString stableID = tab.stableID();
        const QStringList selected =
            m_context.selectionStore ? QStringList(m_context.selectionStore->selectedIDs().values())
                                     : QStringList();
        drag.stableIDs = selected.contains(stableID) ? selected : QStringList{stableID};
        drag.label = drag.stableIDs.size() < 2
                         ? tab.displayTitle()
                         : QStringLiteral("%1 files").arg(drag.stableIDs.size());
    }
    m_drag = std::move(drag);
    m_hovered.reset();
    viewport()->update();
}

void RowListView::followPointer(const QPointF &viewportPoint) {
    QWidget *panel = window();
    if (!m_label) {
        m_label = new DragPreviewLabel(panel);
        m_label->show();
    }
    m_label->raise();
    m_label->setText(m_drag->label);
    m_label->placeAbove(viewport()->mapTo(panel, viewportPoint));

    // Nothing scrolled out of the visible part takes a drop.
    const bool inside = DragGeometry::contains(QRectF(viewport()->rect()), viewportPoint);
    const QPointF point = toContent(viewportPoint);
    const qreal width = viewport()->width();
    std::optional<DropTarget> line;
    std::optional<DropTarget> zone;
    if (inside && m_drag->folderID) {
        line = m_rows.folderLineAt(point, width);
    } else if (inside) {
        line = m_rows.insertionLineAt(point, width);
        zone = m_rows.tabZoneAt(point, width);
    }
    if (line != m_drag->line || zone != m_drag->zone) {
        m_drag->line = line;
        m_drag->zone = zone;
        lightTargets(line, zone);
        viewport()->update();
    }
    updateAutoScroll(viewportPoint);
}

void RowListView::lightTargets(const std::optional<DropTarget> &line,
                               const std::optional<DropTarget> &zone) {
    const bool animated = isVisible();
    // A copy: a look that goes out at once forgets its target meanwhile.
    const QList<DropTarget> lit = m_litTargets;
    for (const DropTarget &target : lit) {
        if (target != line && target != zone)
            m_looks.set(targetLook(target), false, fadeMs(target), animated);
    }
    forgetDarkTargets();
    for (const std::optional<DropTarget> &target : {line, zone}) {
        if (!target)
            continue;
        m_looks.set(targetLook(*target), true, fadeMs(*target), animated);
        if (!m_litTargets.contains(*target))
            m_litTargets.append(*target);
    }
}

// Once out, a target costs painting nothing.
void RowListView::forgetDarkTargets() {
    m_litTargets.removeIf(
        [this](const DropTarget &target) { return m_looks.value(targetLook(target)) == 0; });
}

void RowListView::updateAutoScroll(const QPointF &viewportPoint) {
    const std::optional<qreal> step =
        DragGeometry::edgeScrollStep(viewportPoint.y(), viewport()->height());
    if (!step) {
        m_scrollTimer.stop();
        m_scrollSpeed = 0;
        return;
    }
    m_scrollSpeed = *step;
    if (!m_scrollTimer.isActive()) {
        m_scrollOffset = verticalScrollBar()->value();
        m_scrollTimer.start();
    }
}

void RowListView::autoScrollTick() {
    QScrollBar *bar = verticalScrollBar();
    if (bar->value() != int(std::lround(m_scrollOffset)))
        m_scrollOffset = bar->value();
    m_scrollOffset = DragGeometry::clampScrollOffset(m_scrollOffset + m_scrollSpeed,
                                                     m_rows.height(), viewport()->height());
    bar->setValue(int(std::lround(m_scrollOffset)));
}

void RowListView::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    m_pointer = event->position();
    const std::optional<Press> press = std::exchange(m_press, std::nullopt);
    if (m_drag)
        finishDrag(true);
    else if (press)
        tap(*press);
    updateHover();
}

void RowListView::tap(const Press &press) {
    // The pressed row by identity: a rebuild between press and release keeps the click.
    const std::optional<qsizetype> index = m_rows.rowWithKey(press.key);
    if (!index)
        return;
    const ListRow &row = m_rows.rows()[*index];
    switch (row.kind) {
    case RowKind::TabRow: {
        const TabItem &tab = m_rows.tabs()[row.item];
        if (press.modifiers & Qt::ControlModifier) {
            if (m_context.selectionStore)
                m_context.selectionStore->toggle(tab.stableID());
            return;
        }
        // A plain click drops the selection, then opens the tab.
        if (m_context.selectionStore)
            m_context.selectionStore->clear();
        emit tabTapped(tab);
        return;
    }
    case RowKind::ClosedRow: {
        const ClosedTab closed = m_rows.closedTabs()[row.item];
        const QRect removeButton =
            ClosedTabRowView::removeButtonRect(row.rect(viewport()->width()).toRect());
        // The remove button shows, and takes clicks, while the row is hovered.
        if (m_hovered == index && m_pointer &&
            removeButton.contains(toContent(*m_pointer).toPoint())) {
            if (m_context.recentlyClosedStore)
                m_context.recentlyClosedStore->remove(closed.stableID);
        } else if (m_context.tabManager) {
            m_context.tabManager->openTab(ClosedTabRowView::reopenedTab(closed));
        }
        return;
    }
    default:
        tapButton(row, m_pointer ? toContent(*m_pointer) : press.point);
        return;
    }
}

bool RowListView::isOverButton(const ListRow &row, const QPointF &contentPoint) const {
    const QRectF rect = row.rect(viewport()->width());
    switch (row.kind) {
    case RowKind::RecentCaption:
        return PaintedRows::clearButtonRect(rect).contains(contentPoint);
    case RowKind::HintCard:
        return PaintedRows::hintCardButtonRect(rect).contains(contentPoint);
    case RowKind::NoResults:
        return m_context.folderStore &&
               FolderNaming::canCreateFromSearch(m_rows.query(),
                                                 m_context.folderStore->folders()) &&
               PaintedRows::createFolderButtonRect(rect, m_rows.query()).contains(contentPoint);
    case RowKind::FolderHeader: {
        // Outside edit mode the whole header is one button; in it, only the trash.
        if (m_rows.sections().value(row.section).takesDrops)
            return m_renamedFolder != row.folderID;
        return FolderSectionView::headerParts(rect, true,
                                              m_rows.folders().value(row.index).tabs.size())
            .trash.contains(contentPoint);
    }
    default:
        return false;
    }
}

bool RowListView::tapButton(const ListRow &row, const QPointF &contentPoint) {
    if (!isOverButton(row, contentPoint))
        return false;
    FolderStore *folders = m_context.folderStore;
    switch (row.kind) {
    case RowKind::RecentCaption:
        if (m_context.recentlyClosedStore)
            m_context.recentlyClosedStore->clear();
        animateNextRows(RowTransition::defaultMs);
        break;
    case RowKind::HintCard:
        emit createFolderRequested();
        break;
    case RowKind::NoResults:
        emit createFolderFromSearchRequested();
        break;
    case RowKind::FolderHeader:
        if (m_rows.sections().value(row.section).takesDrops)
            folders->toggleExpanded(row.folderID);
        else
            folders->deleteFolder(row.folderID);
        animateNextRows(RowTransition::quickMs);
        break;
    default:
        break;
    }
    return true;
}

void RowListView::finishDrag(bool drop) {
    const std::optional<Drag> drag = std::exchange(m_drag, std::nullopt);
    m_press.reset();
    m_scrollTimer.stop();
    m_scrollSpeed = 0;
    if (m_label) {
        m_label->hide();
        m_label->deleteLater();
    }
    lightTargets(std::nullopt, std::nullopt);
    viewport()->update();
    if (!drag)
        return;
    if (drop)
        applyDrop(*drag);
    if (!drag->folderID && m_context.selectionStore)
        m_context.selectionStore->clear();
}

void RowListView::applyDrop(const Drag &drag) {
    FolderStore *store = m_context.folderStore;
    if (!store)
        return;
    // A line inside a section wins over the section around it.
    const std::optional<DropTarget> target = drag.line ? drag.line : drag.zone;
    if (!target)
        return;
    using Kind = DropTarget::Kind;
    switch (target->kind) {
    case Kind::FolderOrderLine:
        if (drag.folderID)
            store->moveFolder(*drag.folderID, target->index);
        return;
    case Kind::FolderLine:
        store->moveTabs(drag.stableIDs, target->folderID, target->index,
                        m_rows.shownTabsOf(*target));
        return;
    case Kind::UngroupedLine:
        store->placeInUngrouped(drag.stableIDs, target->index, m_rows.shownTabsOf(*target));
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

QMenu *RowListView::createContextMenu(const QPointF &viewportPoint) {
    if (m_drag)
        return nullptr;
    const std::optional<qsizetype> index =
        m_rows.rowAt(toContent(viewportPoint), viewport()->width());
    if (!index)
        return nullptr;
    const ListRow &row = m_rows.rows()[*index];
    QMenu *menu = nullptr;
    if (row.kind == RowKind::TabRow) {
        menu = TabRowView::createContextMenu(m_rows.tabs()[row.item].stableID(), m_context, this);
    } else if (row.kind == RowKind::FolderHeader &&
               m_rows.sections().value(row.section).takesDrops) {
        menu = new QMenu(this);
        const QUuid id = row.folderID;
        FolderStore *store = m_context.folderStore;
        menu->addAction(tr("Rename"), this, [this, id] { startRenaming(id); });
        menu->addSeparator();
        menu->addAction(tr("Delete Folder"), this, [store, id] {
            if (store)
                store->deleteFolder(id);
        });
    }
    if (menu && menu->isEmpty()) {
        delete menu;
        return nullptr;
    }
    return menu;
}

void RowListView::contextMenuEvent(QContextMenuEvent *event) {
    QMenu *menu = createContextMenu(viewport()->mapFrom(this, event->pos()));
    if (!menu)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void RowListView::leaveEvent(QEvent *event) {
    QAbstractScrollArea::leaveEvent(event);
    if (m_drag)
        return;
    m_pointer.reset();
    updateHover();
}

// Closing the panel ends the drag without a drop; nothing stays held or lit.
void RowListView::hideEvent(QHideEvent *event) {
    QAbstractScrollArea::hideEvent(event);
    finishDrag(false);
    m_pointer.reset();
    updateHover();
}

// The drawn rows move with the content; only the uncovered strip and rows that change paint.
void RowListView::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
    placeFields();
    updateHover();
    if (m_drag && m_pointer)
        followPointer(*m_pointer);
}

void RowListView::updateSelectionLooks() {
    const QSet<QString> selected = m_context.selectionStore->selectedIDs();
    const bool animated = isVisible();
    for (const QString &id : selected - m_shownSelection)
        m_looks.set(selectedLook(id), true, selectionFadeMs, animated);
    for (const QString &id : m_shownSelection - selected)
        m_looks.set(selectedLook(id), false, selectionFadeMs, animated);
    if (selected.isEmpty() != m_shownSelection.isEmpty())
        m_looks.set(selectionMarksLook, !selected.isEmpty(), selectionFadeMs, animated);
    m_shownSelection = selected;
}

// From the last pointer position: no round trip to the window system per row.
void RowListView::updateHover() {
    std::optional<qsizetype> hovered;
    if (m_pointer && !m_drag)
        hovered = m_rows.rowAt(toContent(*m_pointer), viewport()->width());
    const ListRow *row = hovered ? &m_rows.rows()[*hovered] : nullptr;
    const QString tab =
        row && row->kind == RowKind::TabRow ? m_rows.tabs()[row->item].stableID() : QString();
    if (tab != m_hoveredTab) {
        const bool animated = isVisible();
        if (!m_hoveredTab.isEmpty())
            m_looks.set(hoverLook(m_hoveredTab), false, hoverFadeMs, animated);
        if (!tab.isEmpty())
            m_looks.set(hoverLook(tab), true, hoverFadeMs, animated);
        m_hoveredTab = tab;
    }
    viewport()->setCursor(hovered ? cursorOver(m_rows.rows()[*hovered], m_pointer->x())
                                  : Qt::ArrowCursor);
    if (hovered == m_hovered)
        return;
    updateRow(m_hovered);
    m_hovered = hovered;
    updateRow(m_hovered);
}

void RowListView::updateRow(std::optional<qsizetype> index) {
    if (index && *index < m_rows.rows().size())
        viewport()->update(rowRect(*index).toAlignedRect());
}

Qt::CursorShape RowListView::cursorOver(const ListRow &row, qreal x) const {
    switch (row.kind) {
    case RowKind::TabRow:
    case RowKind::ClosedRow:
        return Qt::PointingHandCursor;
    case RowKind::FolderHeader:
        if (m_rows.sections().value(row.section).takesDrops)
            return Qt::PointingHandCursor;
        if (x < row.indent + handleWidth)
            return Qt::OpenHandCursor;
        return isOverButton(row, toContent(*m_pointer)) ? Qt::PointingHandCursor : Qt::ArrowCursor;
    default:
        return m_pointer && isOverButton(row, toContent(*m_pointer)) ? Qt::PointingHandCursor
                                                                     : Qt::ArrowCursor;
    }
}

void RowListView::paintEvent(QPaintEvent *event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const qreal offset = verticalScrollBar()->value();
    const QRectF exposed = QRectF(event->rect()).translated(0, offset);
    const qreal width = viewport()->width();
    painter.translate(0, -offset);
    // Sections lit by a drag, behind their rows; drop rows and lines paint their own.
    for (const DropTarget &target : m_litTargets) {
        const qreal lit = m_looks.value(targetLook(target));
        if (lit <= 0 || (target.kind != DropTarget::Kind::FolderSection &&
                         target.kind != DropTarget::Kind::UngroupedSection))
            continue;
        if (const std::optional<QRectF> rect = m_rows.targetRect(target, width))
            paintLitShape(painter, rect->adjusted(8, 1, -8, -1), lit);
    }
    if (m_transition.isRunning()) {
        for (const RowTransition::Placement &placed : m_transition.placements()) {
            const ListRows &rows = placed.isGone ? m_transition.from() : m_rows;
            const ListRow &row = rows.rows()[placed.row];
            const QRectF rect = row.rect(width).translated(0, placed.top - row.top);
            if (placed.opacity <= 0 || !rect.intersects(exposed))
                continue;
            painter.setOpacity(placed.opacity);
            paintRow(painter, rows, row, rect, !placed.isGone && m_hovered == placed.row);
        }
        return;
    }
    const auto [first, last] = m_rows.rowsBetween(exposed.top(), exposed.bottom());
    for (qsizetype i = first; i < last; ++i) {
        const ListRow &row = m_rows.rows()[i];
        paintRow(painter, m_rows, row, row.rect(width), m_hovered == i);
    }
}

// The accent fill and border of a lit section or drop row, `lit` of the way in.
void RowListView::paintLitShape(QPainter &painter, const QRectF &shape, qreal lit) const {
    if (lit <= 0)
        return;
    PanelPainting::fillRounded(painter, shape, 8,
                               Style::color(Role::Accent, palette(), 0.14 * lit));
    PanelPainting::strokeRoundedInside(painter, shape, 8, 1.5,
                                       Style::color(Role::Accent, palette(), 0.5 * lit));
}

bool RowListView::isLit(const DropTarget &target) const {
    return m_drag && (m_drag->zone == target || m_drag->line == target);
}

void RowListView::paintDropRow(QPainter &painter, const ListRows &rows, const ListRow &row,
                               const QRectF &rect) const {
    const QPalette &colors = palette();
    const bool toFolder = row.kind == RowKind::FolderDropRow;
    const DropTarget target =
        toFolder ? DropTarget{.kind = DropTarget::Kind::FolderRow, .folderID = row.folderID}
                 : DropTarget{.kind = DropTarget::Kind::UngroupedRow};
    const bool lit = isLit(target);
    const QRectF shape = rect.adjusted(10, 2, -10, -2);
    if (!m_litTargets.isEmpty())
        paintLitShape(painter, shape, m_looks.value(targetLook(target)));
    const QRectF box = shape.adjusted(14, 11, -14, -11);
    const qreal symbolWidth = PanelPainting::symbolBox(14).width();
    PanelPainting::drawSymbol(painter,
                              toFolder ? QStringLiteral("folder.fill") : QStringLiteral("tray"),
                              QRectF(box.left(), box.top(), symbolWidth, box.height()), 14,
                              Style::color(lit        ? Role::Accent
                                           : toFolder ? Role::Blue
                                                      : Role::Secondary,
                                           colors));
    qreal right = box.right();
    if (lit) {
        const QFont font = Style::font(12, QFont::Medium);
        const QString dropHere = tr("Drop here");
        const qreal width = PanelPainting::textWidth(font, dropHere);
        PanelPainting::drawElidedText(painter,
                                      QRectF(right - width, box.top(), width + 1, box.height()),
                                      font, Style::color(Role::Accent, colors), dropHere);
        right -= width + 10;
    }
    const qreal left = box.left() + symbolWidth + 10;
    PanelPainting::drawElidedText(
        painter, QRectF(left, box.top(), qMax(0.0, right - left), box.height()),
        Style::font(15, QFont::DemiBold),
        Style::color(toFolder ? Role::Primary : Role::Secondary, colors),
        toFolder ? rows.folders().value(row.index).folder.name : tr("Ungrouped"));
}

void RowListView::paintRow(QPainter &painter, const ListRows &rows, const ListRow &row,
                           const QRectF &rect, bool hovered) const {
    const QPalette &colors = palette();
    switch (row.kind) {
    case RowKind::TabRow: {
        const TabItem &tab = rows.tabs()[row.item];
        const QString id = tab.stableID();
        const QString hint = rows.folderHint(row.item);
        // Hover eases out after the pointer has left; a row that went has none.
        TabRowView::paint(
            painter, rect,
            {tab.displayTitle(), tab.isActive,
             hint.isEmpty() ? std::nullopt : std::optional<QString>(hint),
             &thumbnailFor(tab.thumbnailURL), &rows == &m_rows ? m_looks.value(hoverLook(id)) : 0.0,
             m_looks.value(selectedLook(id)), m_looks.value(selectionMarksLook),
             m_shownSelection.contains(id), !m_highlightID.isEmpty() && id == m_highlightID},
            colors);
        return;
    }
    case RowKind::FolderHeader: {
        const FolderContent content = rows.folders().value(row.index);
        const ListSection section = rows.sections().value(row.section);
        FolderSectionView::paintHeader(painter, rect, content.folder,
                                       {content.tabs.size(), !section.takesDrops,
                                        isLit(section.target), m_renamedFolder != row.folderID},
                                       colors);
        return;
    }
    case RowKind::FolderLine:
    case RowKind::UngroupedLine:
    case RowKind::FolderOrderLine: {
        const qreal shown =
            m_litTargets.isEmpty() ? 0 : m_looks.value(targetLook(ListRows::lineTarget(row)));
        if (shown <= 0)
            return;
        painter.save();
        painter.setOpacity(painter.opacity() * shown);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Style::color(Role::Accent, colors));
        const qreal middle = rect.center().y();
        painter.drawEllipse(QRectF(rect.left() + 10, middle - 4, 8, 8));
        painter.drawRect(QRectF(rect.left() + 18, middle - 1, rect.width() - 28, 2));
        painter.restore();
        return;
    }
    case RowKind::ClosedRow: {
        const ClosedTab &closed = rows.closedTabs()[row.item];
        ClosedTabRowView::paint(painter, rect, displayTitle(closed.title),
                                thumbnailFor(closed.thumbnailURL), hovered, colors);
        return;
    }
    case RowKind::UngroupedCaption:
        PaintedRows::paintUngroupedCaption(
            painter, rect,
            {colors,
             m_drag && m_drag->zone && m_drag->zone->kind == DropTarget::Kind::UngroupedSection});
        return;
    case RowKind::RecentCaption:
        PaintedRows::paintRecentCaption(painter, rect, {colors});
        return;
    case RowKind::ResultsCaption:
        PaintedRows::paintResultsCaption(painter, rect, rows.tabs().size(), {colors});
        return;
    case RowKind::DropCaption:
        PaintedRows::paintDropCaption(painter, rect, {colors});
        return;
    case RowKind::HintCard:
        PaintedRows::paintHintCard(painter, rect, {colors});
        return;
    case RowKind::NewFolder:
        PaintedRows::paintNewFolder(painter, rect, {colors});
        return;
    case RowKind::NoResults:
        PaintedRows::paintNoResults(
            painter, rect, rows.query(),
            {.palette = colors,
             .enabled = m_context.folderStore &&
                        FolderNaming::canCreateFromSearch(rows.query(),
                                                          m_context.folderStore->folders())});
        return;
    case RowKind::FolderDropRow:
    case RowKind::UngroupedDropRow:
        paintDropRow(painter, rows, row, rect);
        return;
    }
}
