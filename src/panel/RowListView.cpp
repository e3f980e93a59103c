#include "panel/RowListView.h"

#include "dragdrop/DragPreviewLabel.h"
#include "panel/ClosedTabRowView.h"
#include "panel/FolderSectionView.h"
#include "panel/InPlaceNameField.h"
#include "panel/ListController.h"
#include "panel/PaintedRows.h"
#include "panel/PanelLineEdit.h"
#include "panel/PanelPainting.h"
#include "panel/TabRowView.h"
#include "panel/model/DragGeometry.h"
#include "panel/model/FolderNaming.h"
#include "panel/model/ListHeight.h"
#include "stores/FolderStore.h"
#include "stores/SelectionStore.h"
#include "ui/FocusRing.h"
#include "ui/Style.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <utility>

using Style::Role;

namespace {

constexpr int scrollTickMilliseconds = 16;
constexpr int handleWidth = 28 + 10; // the edit-mode header's handle and its padding
constexpr int hoverFadeMs = 150;
constexpr int selectionFadeMs = 100;

// One look per row, not per file: two rows of the same file light up one at a time.
QString hoverLook(const RowKey &row) {
    return QStringLiteral("hover %1 %2 ").arg(int(row.isResult)).arg(row.index) + row.item;
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

bool isMouseButtonEvent(const QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        return true;
    default:
        return false;
    }
}

// The painted button a row carries, within the row's `rect`.
std::optional<QRectF> paintedButton(const ListRows &rows, const ListRow &row, const QRectF &rect) {
    switch (row.kind) {
    case RowKind::RecentCaption:
        return PaintedRows::clearButtonRect(rect);
    case RowKind::HintCard:
        return PaintedRows::hintCardButtonRect(rect);
    case RowKind::NoResults:
        return PaintedRows::createFolderButtonRect(rect, rows.query());
    case RowKind::ClosedRow:
        return QRectF(ClosedTabRowView::removeButtonRect(rect.toRect()));
    case RowKind::FolderHeader:
        if (!rows.isEditingFolders())
            return std::nullopt;
        return FolderSectionView::headerParts(rect, true,
                                              rows.folders().value(row.index).tabs.size())
            .trash;
    default:
        return std::nullopt;
    }
}

} // namespace

RowListView::RowListView(const PanelContext &context, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_context(context)
    , m_controller(new ListController(context, this))
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
    // The placeholder goes once something is typed; the name stays.
    m_newFolderField->setAccessibleName(tr("New folder name"));
    m_newFolderField->setFont(FolderSectionView::nameFont());
    m_newFolderField->onKey = [this](int key, Qt::KeyboardModifiers) {
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
    connect(&m_looks, &LookFades::advanced, this, &RowListView::updateLook);
    connect(m_controller, &ListController::holdChanged, this, &RowListView::followHold);
    connect(m_controller, &ListController::rowsEase, this, &RowListView::animateNextRows);
    connect(m_controller, &ListController::renameRequested, this, &RowListView::startRenaming);
    connect(m_controller, &ListController::menuRequested, this, &RowListView::showMenuAtRow);
    connect(m_controller, &ListController::highlightChanged, this,
            &RowListView::setKeyboardHighlight);
    if (m_context.selectionStore) {
        connect(m_context.selectionStore, &SelectionStore::selectedIDsChanged, this,
                &RowListView::updateSelectionLooks);
        updateSelectionLooks();
    }
}

RowListView::~RowListView() {
    holdMouse(false);
    delete m_label;
}

void RowListView::setRows(ListRows rows) {
    const std::optional<int> transition = std::exchange(m_nextTransitionMs, std::nullopt);
    ListRows previous = std::exchange(m_rows, std::move(rows));
    const bool wasSearch = previous.isSearch();
    const QString previousQuery = previous.query();
    // Nobody sees a hidden list ease.
    if (transition && isVisible())
        m_transition.start(std::move(previous), m_rows, *transition);
    else
        m_transition.stop();
    m_controller->setRows(m_rows);
    // The normal list and the results keep their own places; new results open at the top. The
    // place is read before the new range clamps it to a few results' height.
    QScrollBar *bar = verticalScrollBar();
    const bool queryChanged = wasSearch != m_rows.isSearch() || previousQuery != m_rows.query();
    if (queryChanged && !wasSearch)
        m_normalListScroll = bar->value();
    updateScrollRange();
    if (queryChanged) {
        m_scrollAnimation.stop();
        bar->setValue(m_rows.isSearch() ? 0 : m_normalListScroll);
    }
    updateContentHeight();
    placeFields();
    // Rows moved under a resting pointer: hover and lit targets follow from where it is.
    updateHover();
    if (isDragging() && m_pointer)
        followPointer(*m_pointer);
    emit rowsReplaced();
    viewport()->update();
}

void RowListView::animateNextRows(int durationMs) {
    m_nextTransitionMs = durationMs;
    // The rebuild is queued by the action; this runs after it.
    QMetaObject::invokeMethod(
        this, [this] { m_nextTransitionMs.reset(); }, Qt::QueuedConnection);
}

Thumbnail RowListView::thumbnailFor(const QUrl &url) const {
    return Thumbnail::of(url, m_context.thumbnails, viewport());
}

void RowListView::setKeyboardHighlight(const std::optional<RowKey> &highlight) {
    if (highlight == m_highlight)
        return;
    m_highlight = highlight;
    viewport()->update();
    emit highlightMoved(highlight);
    const std::optional<qsizetype> row = highlight ? m_rows.rowWithKey(*highlight) : std::nullopt;
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
    return m_rows.rowWithKey({.kind = RowKind::FolderHeader, .folderID = m_renamedFolder});
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
    const QString typed = m_renameField->text();
    const QUuid id = m_renamedFolder;
    endRenaming();
    m_controller->renameFolder(id, typed);
}

void RowListView::endRenaming() {
    m_renamedFolder = QUuid();
    if (!m_renameField)
        return;
    // The keyboard stays on the list rather than jumping to the next control.
    if (m_renameField->hasFocus())
        setFocus(Qt::OtherFocusReason);
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
        row.rect(width), m_rows.isEditingFolders(), m_rows.folders().value(row.index).tabs.size());
    m_renameField->setGeometry(field.translated(0, -offset).toAlignedRect());
}

void RowListView::updateScrollRange() {
    QScrollBar *bar = verticalScrollBar();
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(20);
    bar->setRange(0, std::max(0, m_rows.height() - viewport()->height()));
    m_controller->setPageRows(viewport()->height() / RowHeights().tabRow);
}

void RowListView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
    placeFields();
    if (std::exchange(m_rowWidth, viewport()->width()) != m_rowWidth)
        emit rowWidthChanged();
}

QPointF RowListView::toContent(const QPointF &viewportPoint) const {
    return viewportPoint + QPointF(0, verticalScrollBar()->value());
}

std::optional<RowHit> RowListView::hitAt(const QPointF &viewportPoint) const {
    const QPointF point = toContent(viewportPoint);
    const std::optional<qsizetype> index = m_rows.rowAt(point, viewport()->width());
    if (!index)
        return std::nullopt;
    const ListRow &row = m_rows.rows()[*index];
    RowHit hit{m_rows.key(row)};
    if (isOverButton(row, point))
        hit.part = RowPart::Button;
    else if (row.kind == RowKind::FolderHeader && m_rows.isEditingFolders() &&
             viewportPoint.x() < row.indent + handleWidth)
        hit.part = RowPart::Handle;
    return hit;
}

bool RowListView::isDragging() const {
    return m_controller->drag().has_value();
}

std::optional<DropTarget> RowListView::litLine() const {
    return isDragging() ? m_controller->drag()->line : std::nullopt;
}

std::optional<DropTarget> RowListView::litZone() const {
    return isDragging() ? m_controller->drag()->zone : std::nullopt;
}

void RowListView::mousePressEvent(QMouseEvent *event) {
    event->accept();
    if (m_controller->isHolding()) {
        routeHeldMouse(event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_pointer = event->position();
    const std::optional<RowHit> hit = hitAt(event->position());
    // A header whose name is being edited is no button.
    const bool renaming = hit && hit->row.kind == RowKind::FolderHeader &&
                          hit->row.folderID == m_renamedFolder && m_renameField;
    if (hit && !renaming)
        m_controller->press(*hit, event->position(), event->modifiers());
}

void RowListView::mouseMoveEvent(QMouseEvent *event) {
    if (m_controller->isHolding()) {
        routeHeldMouse(event);
        return;
    }
    m_pointer = event->position();
    updateHover();
}

void RowListView::mouseReleaseEvent(QMouseEvent *event) {
    event->accept();
    if (m_controller->isHolding())
        routeHeldMouse(event);
}

// From press to release every mouse event of the panel's window comes here first, before Qt
// hands it to the widget under the pointer or to the widget a second button went down on.
void RowListView::holdMouse(bool held) {
    QWindow *window = held && this->window() ? this->window()->windowHandle() : nullptr;
    if (window == m_heldWindow)
        return;
    if (m_heldWindow)
        m_heldWindow->removeEventFilter(this);
    m_heldWindow = window;
    if (window)
        window->installEventFilter(this);
}

bool RowListView::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_heldWindow && isMouseButtonEvent(event))
        return routeHeldMouse(static_cast<QMouseEvent *>(event));
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool RowListView::routeHeldMouse(QMouseEvent *event) {
    const QPointF point = viewport()->mapFromGlobal(event->globalPosition());
    switch (event->type()) {
    case QEvent::MouseMove:
        // The button came up where the view could not see it: the press is over.
        if (!(event->buttons() & Qt::LeftButton)) {
            m_controller->cancel();
            return false;
        }
        m_pointer = point;
        m_controller->moveTo(point);
        if (isDragging())
            followPointer(point);
        else
            updateHover();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Another button ends a press and changes nothing about a drag.
        if (event->button() != Qt::LeftButton && !isDragging())
            m_controller->cancel();
        return true;
    case QEvent::MouseButtonRelease: {
        if (event->button() != Qt::LeftButton)
            return true;
        m_pointer = point;
        const bool inside = DragGeometry::contains(QRectF(viewport()->rect()), point);
        m_controller->release(inside ? hitAt(point) : std::nullopt);
        updateHover();
        return true;
    }
    default:
        return false;
    }
}

// The press began or ended, or the drag started, moved to other targets or ended.
void RowListView::followHold() {
    holdMouse(m_controller->isHolding());
    if (const std::optional<ListDrag> &drag = m_controller->drag()) {
        lightTargets(drag->line, drag->zone);
    } else {
        if (m_label) {
            m_label->hide();
            m_label->deleteLater();
        }
        stopAutoScroll();
        lightTargets(std::nullopt, std::nullopt);
    }
    updateHover();
    viewport()->update();
}

void RowListView::followPointer(const QPointF &viewportPoint) {
    QWidget *panel = window();
    if (!m_label) {
        m_label = new DragPreviewLabel(panel);
        m_label->show();
    }
    const ListDrag &drag = *m_controller->drag();
    m_label->raise();
    m_label->setText(drag.label);
    m_label->placeAbove(viewport()->mapTo(panel, viewportPoint));

    // Nothing scrolled out of the visible part takes a drop.
    const bool inside = DragGeometry::contains(QRectF(viewport()->rect()), viewportPoint);
    const QPointF point = toContent(viewportPoint);
    const qreal width = viewport()->width();
    std::optional<DropTarget> line;
    std::optional<DropTarget> zone;
    if (inside && drag.folderID) {
        line = m_rows.folderLineAt(point, width);
    } else if (inside) {
        line = m_rows.insertionLineAt(point, width);
        zone = m_rows.tabZoneAt(point, width);
    }
    m_controller->setTargets(line, zone);
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
        stopAutoScroll();
        return;
    }
    m_scrollSpeed = *step;
    if (!m_scrollTimer.isActive()) {
        m_scrollOffset = verticalScrollBar()->value();
        m_scrollTimer.start();
    }
}

void RowListView::stopAutoScroll() {
    m_scrollTimer.stop();
    m_scrollSpeed = 0;
}

void RowListView::autoScrollTick() {
    QScrollBar *bar = verticalScrollBar();
    if (bar->value() != int(std::lround(m_scrollOffset)))
        m_scrollOffset = bar->value();
    m_scrollOffset = DragGeometry::clampScrollOffset(m_scrollOffset + m_scrollSpeed,
                                                     m_rows.height(), viewport()->height());
    bar->setValue(int(std::lround(m_scrollOffset)));
}

std::optional<QRectF> RowListView::buttonRect(qsizetype index) const {
    const ListRow &row = m_rows.rows()[index];
    const std::optional<QRectF> button = paintedButton(m_rows, row, row.rect(viewport()->width()));
    return button ? std::optional(button->translated(0, -verticalScrollBar()->value()))
                  : std::nullopt;
}

bool RowListView::isOverButton(const ListRow &row, const QPointF &contentPoint) const {
    // Outside edit mode the whole header is one button.
    if (row.kind == RowKind::FolderHeader && !m_rows.isEditingFolders())
        return m_renamedFolder != row.folderID;
    // The create button does nothing while the query names an existing folder.
    if (row.kind == RowKind::NoResults &&
        !(m_context.folderStore &&
          FolderNaming::canCreateFromSearch(m_rows.query(), m_context.folderStore->folders())))
        return false;
    const std::optional<QRectF> button = paintedButton(m_rows, row, row.rect(viewport()->width()));
    return button && button->contains(contentPoint);
}

QString RowListView::toolTipAt(const QPointF &viewportPoint) const {
    const std::optional<RowHit> hit = hitAt(viewportPoint);
    if (!hit || hit->part != RowPart::Button)
        return {};
    if (hit->row.kind == RowKind::FolderHeader && m_rows.isEditingFolders())
        return tr("Delete Folder");
    if (hit->row.kind == RowKind::ClosedRow)
        return tr("Remove from Recently Closed");
    return {};
}

void RowListView::contextMenuEvent(QContextMenuEvent *event) {
    if (m_controller->isHolding())
        return;
    // The Menu key: the highlighted row's menu, not the one under a resting pointer.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        m_controller->handleKey(Qt::Key_Menu);
        return;
    }
    const std::optional<RowHit> hit = hitAt(viewport()->mapFrom(this, event->pos()));
    if (hit)
        m_controller->showMenu(hit->row, event->globalPos(), this);
}

void RowListView::showMenuAtRow(const RowKey &row) {
    const std::optional<qsizetype> index = m_rows.rowWithKey(row);
    if (!index)
        return;
    const QRectF rect = rowRect(*index);
    QMenu *menu = m_controller->showMenu(
        row, viewport()->mapToGlobal(QPointF(rect.left() + 24, rect.bottom())).toPoint(), this);
    // Down, once it is on screen, as a menu opened by keys starts: the first item active, its
    // submenu still closed (setActiveAction() would open it without the keyboard in it).
    if (menu)
        QCoreApplication::postEvent(menu,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
}

bool RowListView::viewportEvent(QEvent *event) {
    switch (event->type()) {
    case QEvent::Leave:
        // Also onto the scroll bar, which is not the viewport.
        if (!m_controller->isHolding())
            pointerLeft();
        break;
    case QEvent::ToolTip: {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, viewport());
        return true;
    }
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void RowListView::pointerLeft() {
    m_pointer.reset();
    updateHover();
}

// Closing the panel ends the press or drag without acting; nothing stays held or lit.
void RowListView::hideEvent(QHideEvent *event) {
    QAbstractScrollArea::hideEvent(event);
    m_controller->cancel();
    pointerLeft();
}

// The drawn rows move with the content; only the uncovered strip and rows that change paint.
void RowListView::scrollContentsBy(int dx, int dy) {
    viewport()->scroll(dx, dy);
    placeFields();
    updateHover();
    if (isDragging() && m_pointer)
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

void RowListView::updateLook(const QString &look) {
    if (!m_looks.isEasing())
        forgetDarkTargets();
    // A hover eases on its one row: the rest of the list stays as it was drawn.
    const auto hovered = m_hoverRows.constFind(look);
    if (hovered == m_hoverRows.cend() || m_transition.isRunning()) {
        viewport()->update();
        return;
    }
    updateRow(m_rows.rowWithKey(*hovered));
    if (look != m_hoverLook && m_looks.value(look) == 0)
        m_hoverRows.erase(hovered);
}

// From the last pointer position: no round trip to the window system per row.
void RowListView::updateHover() {
    std::optional<qsizetype> hovered;
    if (m_pointer && !isDragging())
        hovered = m_rows.rowAt(toContent(*m_pointer), viewport()->width());
    const ListRow *row = hovered ? &m_rows.rows()[*hovered] : nullptr;
    const bool isTab = row && row->kind == RowKind::TabRow;
    const QString look = isTab ? hoverLook(m_rows.key(*row)) : QString();
    if (look != m_hoverLook) {
        const bool animated = isVisible();
        const QString left = std::exchange(m_hoverLook, look);
        if (!left.isEmpty())
            m_looks.set(left, false, hoverFadeMs, animated);
        if (isTab) {
            m_hoverRows.insert(look, m_rows.key(*row));
            m_looks.set(look, true, hoverFadeMs, animated);
        }
    }
    viewport()->setCursor(hovered ? cursorOver(*row, m_pointer->x()) : Qt::ArrowCursor);
    if (hovered == m_hovered)
        return;
    updateRow(m_hovered);
    m_hovered = hovered;
    updateRow(m_hovered);
    emit hoverMoved(hovered.value_or(-1));
}

void RowListView::updateRow(std::optional<qsizetype> index) {
    if (index && *index < m_rows.rows().size())
        viewport()->update(rowRect(*index).toAlignedRect());
}

Qt::CursorShape RowListView::cursorOver(const ListRow &row, qreal x) const {
    const std::optional<RowHit> hit = hitAt({x, m_pointer->y()});
    if (hit && hit->part == RowPart::Handle)
        return Qt::OpenHandCursor;
    const bool clickable = row.kind == RowKind::TabRow || row.kind == RowKind::ClosedRow ||
                           (hit && hit->part == RowPart::Button);
    return clickable ? Qt::PointingHandCursor : Qt::ArrowCursor;
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
            PaintedRows::paintLitShape(painter, rect->adjusted(8, 1, -8, -1), palette(), lit);
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

bool RowListView::isLit(const DropTarget &target) const {
    return isDragging() && m_controller->drag()->lights(target);
}

bool RowListView::isKeyboardHighlighted(const ListRows &rows, const ListRow &row) const {
    return m_highlight && m_highlight->kind == row.kind && rows.key(row) == *m_highlight;
}

void RowListView::paintKeyboardRing(QPainter &painter, const QRectF &button) const {
    // Outside the button: the card's button is filled with the ring's own accent.
    FocusRing::paint(painter, button.adjusted(-3, -3, 3, 3), 9, palette());
}

void RowListView::paintRow(QPainter &painter, const ListRows &rows, const ListRow &row,
                           const QRectF &rect, bool hovered) const {
    paintRowContent(painter, rows, row, rect, hovered);
    // A row the keys reach as its painted button shows that button focused.
    if (isKeyboardHighlighted(rows, row) &&
        RowHit::highlighted(rows.key(row)).part == RowPart::Button) {
        if (const std::optional<QRectF> button = paintedButton(rows, row, rect))
            paintKeyboardRing(painter, *button);
    }
}

void RowListView::paintRowContent(QPainter &painter, const ListRows &rows, const ListRow &row,
                                  const QRectF &rect, bool hovered) const {
    const QPalette &colors = palette();
    switch (row.kind) {
    case RowKind::TabRow: {
        const TabItem &tab = rows.tabs()[row.item];
        const QString id = tab.stableID();
        // Hover eases out after the pointer has left; a row that went has none.
        const qreal hover = &rows == &m_rows ? m_looks.value(hoverLook(rows.key(row))) : 0.0;
        TabRowView::paint(painter, rect,
                          {tab.displayTitle(), tab.isActive, rows.folderHint(row.item),
                           thumbnailFor(tab.thumbnailURL), hover, m_looks.value(selectedLook(id)),
                           m_looks.value(selectionMarksLook), m_shownSelection.contains(id),
                           isKeyboardHighlighted(rows, row)},
                          colors);
        return;
    }
    case RowKind::FolderHeader: {
        if (isKeyboardHighlighted(rows, row))
            TabRowView::paintBackground(painter, rect, {.isKeyboardHighlighted = true}, colors);
        const FolderContent content = rows.folders().value(row.index);
        const ListSection section = rows.sections().value(row.section);
        FolderSectionView::paintHeader(painter, rect, content.folder,
                                       {content.tabs.size(), rows.isEditingFolders(),
                                        isLit(section.target), m_renamedFolder != row.folderID},
                                       colors);
        return;
    }
    case RowKind::FolderLine:
    case RowKind::UngroupedLine:
    case RowKind::FolderOrderLine: {
        const qreal shown =
            m_litTargets.isEmpty() ? 0 : m_looks.value(targetLook(rows.lineTarget(row)));
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
        if (isKeyboardHighlighted(rows, row))
            TabRowView::paintBackground(painter, rect, {.isKeyboardHighlighted = true}, colors);
        ClosedTabRowView::paint(painter, rect, displayTitle(closed.title),
                                thumbnailFor(closed.thumbnailURL), hovered, colors);
        return;
    }
    case RowKind::UngroupedCaption:
        PaintedRows::paintUngroupedCaption(
            painter, rect, {colors, isLit(DropTarget{.kind = DropTarget::Kind::UngroupedSection})});
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
    case RowKind::UngroupedDropRow: {
        const bool toFolder = row.kind == RowKind::FolderDropRow;
        const DropTarget target =
            toFolder ? DropTarget{.kind = DropTarget::Kind::FolderRow, .folderID = row.folderID}
                     : DropTarget{.kind = DropTarget::Kind::UngroupedRow};
        PaintedRows::paintDropRow(
            painter, rect,
            {.palette = colors,
             .folderName = toFolder
                               ? std::optional(rows.folders().value(row.index).folder.displayName())
                               : std::nullopt,
             .isTargeted = isLit(target),
             .lit = m_litTargets.isEmpty() ? 0 : m_looks.value(targetLook(target))});
        return;
    }
    }
}
