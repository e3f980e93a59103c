#include "panel/RowListView.h"

#include "dragdrop/DragPreviewLabel.h"
#include "panel/ClosedTabRowView.h"
#include "panel/PanelPainting.h"
#include "panel/TabRowView.h"
#include "panel/model/DragGeometry.h"
#include "ui/Style.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "tabs/TabManager.h"

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

QString folderLabel(const QString &name) {
    return QString::fromUtf8("\xF0\x9F\x93\x81 ") + name;
}

} // namespace

RowListView::RowListView(const PanelContext &context, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_context(context)
    , m_scrollAnimation(verticalScrollBar(), "value") {
    m_scrollAnimation.setDuration(120);
    m_scrollAnimation.setEasingCurve(QEasingCurve::OutCubic);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    m_scrollTimer.setTimerType(Qt::PreciseTimer);
    m_scrollTimer.setInterval(scrollTickMilliseconds);
    connect(&m_scrollTimer, &QTimer::timeout, this, &RowListView::autoScrollTick);
}

RowListView::~RowListView() {
    delete m_label;
}

void RowListView::setRows(ListRows rows) {
    m_rows = std::move(rows);
    updateScrollRange();
    // Rows moved under a resting pointer: hover and lit targets follow from where it is.
    updateHover();
    if (m_drag && m_pointer)
        followPointer(*m_pointer);
    viewport()->update();
}

const Thumbnail &RowListView::thumbnailFor(const QUrl &url) const {
    // Loaded when first painted. Kept for the view's life: a load in flight calls back into it.
    std::shared_ptr<Thumbnail> &thumbnail = m_thumbnails[url];
    if (!thumbnail) {
        thumbnail = std::make_shared<Thumbnail>();
        thumbnail->load(url, viewport());
    }
    return *thumbnail;
}

void RowListView::setKeyboardHighlightedID(const QString &stableID) {
    if (stableID == m_highlightID)
        return;
    m_highlightID = stableID;
    viewport()->update();
    const std::optional<qsizetype> row = m_rows.rowOfTab(stableID);
    if (!row)
        return;
    const ListRow &shown = m_rows.rows()[*row];
    QScrollBar *bar = verticalScrollBar();
    const int target = std::clamp(shown.top + shown.height / 2 - viewport()->height() / 2,
                                  bar->minimum(), bar->maximum());
    m_scrollAnimation.stop();
    m_scrollAnimation.setStartValue(bar->value());
    m_scrollAnimation.setEndValue(target);
    m_scrollAnimation.start();
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
}

QPointF RowListView::toContent(const QPointF &viewportPoint) const {
    return viewportPoint + QPointF(0, verticalScrollBar()->value());
}

QString RowListView::keyOf(const ListRow &row) const {
    switch (row.kind) {
    case RowKind::TabRow:
        return QStringLiteral("tab:") + m_rows.tabs()[row.item].stableID();
    case RowKind::ClosedRow:
        return QStringLiteral("closed:") + m_rows.closedTabs()[row.item].stableID;
    case RowKind::FolderHeader:
        return QStringLiteral("folder:") + row.folderID.toString();
    default:
        return {};
    }
}

std::optional<qsizetype> RowListView::rowWithKey(const QString &key) const {
    if (key.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < m_rows.rows().size(); ++i) {
        if (keyOf(m_rows.rows()[i]) == key)
            return i;
    }
    return std::nullopt;
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
    m_press = Press{event->position(), event->modifiers(), pressed, keyOf(pressed)};
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
        viewport()->update();
    }
    updateAutoScroll(viewportPoint);
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
    const std::optional<qsizetype> index = rowWithKey(press.key);
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
    case RowKind::FolderHeader:
        emit folderTapped(row.folderID);
        return;
    default:
        return;
    }
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
        menu->addAction(tr("Rename"), this, [this, id] { emit renameRequested(id); });
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
    m_hovered.reset();
}

void RowListView::scrollContentsBy(int, int) {
    updateHover();
    if (m_drag && m_pointer)
        followPointer(*m_pointer);
    viewport()->update();
}

// From the last pointer position: no round trip to the window system per row.
void RowListView::updateHover() {
    std::optional<qsizetype> hovered;
    if (m_pointer && !m_drag)
        hovered = m_rows.rowAt(toContent(*m_pointer), viewport()->width());
    viewport()->setCursor(hovered ? cursorOver(m_rows.rows()[*hovered], m_pointer->x())
                                  : Qt::ArrowCursor);
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    viewport()->update();
}

Qt::CursorShape RowListView::cursorOver(const ListRow &row, qreal x) const {
    switch (row.kind) {
    case RowKind::TabRow:
    case RowKind::ClosedRow:
        return Qt::PointingHandCursor;
    case RowKind::FolderHeader:
        if (m_rows.sections().value(row.section).takesDrops)
            return Qt::PointingHandCursor;
        return x < row.indent + handleWidth ? Qt::OpenHandCursor : Qt::ArrowCursor;
    default:
        return Qt::ArrowCursor;
    }
}

void RowListView::paintEvent(QPaintEvent *event) {
    QPainter painter(viewport());
    const qreal offset = verticalScrollBar()->value();
    const QRectF exposed = QRectF(event->rect()).translated(0, offset);
    const qreal width = viewport()->width();
    painter.translate(0, -offset);
    if (m_drag) {
        for (const std::optional<DropTarget> &target : {m_drag->zone, m_drag->line}) {
            if (!target || target->kind == DropTarget::Kind::FolderLine ||
                target->kind == DropTarget::Kind::UngroupedLine ||
                target->kind == DropTarget::Kind::FolderOrderLine)
                continue;
            if (const std::optional<QRectF> rect = m_rows.targetRect(*target, width)) {
                const QRectF shape = rect->adjusted(8, 1, -8, -1);
                PanelPainting::fillRounded(painter, shape, 8,
                                           Style::color(Role::Accent, palette(), 0.14));
                PanelPainting::strokeRoundedInside(painter, shape, 8, 1.5,
                                                   Style::color(Role::Accent, palette(), 0.5));
            }
        }
    }
    const auto [first, last] = m_rows.rowsBetween(exposed.top(), exposed.bottom());
    for (qsizetype i = first; i < last; ++i) {
        const ListRow &row = m_rows.rows()[i];
        paintRow(painter, row, row.rect(width));
    }
}

bool RowListView::isLit(const DropTarget &target) const {
    return m_drag && (m_drag->zone == target || m_drag->line == target);
}

void RowListView::paintFolderHeader(QPainter &painter, const ListRow &row,
                                    const QRectF &rect) const {
    const QPalette &colors = palette();
    const FolderContent content = m_rows.folders().value(row.index);
    const bool editMode = !m_rows.sections().value(row.section).takesDrops;
    const bool lit = isLit(m_rows.sections().value(row.section).target);
    const qreal padding = editMode ? 10 : 14;
    const QRectF box = rect.adjusted(padding, editMode ? 10 : 11, -padding, editMode ? -10 : -11);
    const qreal spacing = editMode ? 10 : 8;
    qreal x = box.left();
    if (editMode) {
        PanelPainting::drawSymbol(painter, QStringLiteral("line.3.horizontal"),
                                  QRectF(x, box.top(), 28, box.height()), 13,
                                  Style::color(Role::Secondary, colors));
        x += 28 + spacing;
    } else {
        PanelPainting::drawSymbol(painter,
                                  content.folder.isExpanded ? QStringLiteral("chevron.down")
                                                            : QStringLiteral("chevron.right"),
                                  QRectF(x, box.top(), 12, box.height()), 10,
                                  Style::color(Role::Tertiary, colors));
        x += 12 + spacing;
    }
    const qreal iconWidth = PanelPainting::symbolBox(14).width();
    PanelPainting::drawSymbol(
        painter, QStringLiteral("folder.fill"), QRectF(x, box.top(), iconWidth, box.height()), 14,
        lit && !editMode ? QColor(Qt::white) : Style::color(Role::Blue, colors));
    x += iconWidth + spacing;
    qreal right = box.right();
    if (editMode) {
        const qreal trash = PanelPainting::symbolBox(13).width() + 6;
        PanelPainting::drawSymbol(painter, QStringLiteral("trash"),
                                  QRectF(right - trash, box.top(), trash, box.height()), 13,
                                  Style::color(Role::Red, colors, 0.8));
        right -= trash + spacing;
    } else {
        right -= 2;
    }
    const QFont countFont = Style::font(12);
    const QString count = QString::number(content.tabs.size());
    const qreal countWidth = PanelPainting::textWidth(countFont, count);
    PanelPainting::drawElidedText(
        painter, QRectF(right - countWidth, box.top(), countWidth + 1, box.height()), countFont,
        Style::color(Role::Tertiary, colors), count);
    right -= countWidth + spacing;
    PanelPainting::drawElidedText(painter, QRectF(x, box.top(), qMax(0.0, right - x), box.height()),
                                  Style::font(15, QFont::DemiBold),
                                  Style::color(Role::Primary, colors), content.folder.name);
}

void RowListView::paintDropRow(QPainter &painter, const ListRow &row, const QRectF &rect) const {
    const QPalette &colors = palette();
    const bool toFolder = row.kind == RowKind::FolderDropRow;
    const DropTarget target =
        toFolder ? DropTarget{.kind = DropTarget::Kind::FolderRow, .folderID = row.folderID}
                 : DropTarget{.kind = DropTarget::Kind::UngroupedRow};
    const bool lit = isLit(target);
    const QRectF shape = rect.adjusted(10, 2, -10, -2);
    if (lit) {
        PanelPainting::fillRounded(painter, shape, 8, Style::color(Role::Accent, colors, 0.14));
        PanelPainting::strokeRoundedInside(painter, shape, 8, 1.5,
                                           Style::color(Role::Accent, colors, 0.5));
    }
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
        toFolder ? m_rows.folders().value(row.index).folder.name : tr("Ungrouped"));
}

void RowListView::paintRow(QPainter &painter, const ListRow &row, const QRectF &rect) const {
    const QPalette &colors = palette();
    const bool hovered = m_hovered && m_rows.rows()[*m_hovered].top == row.top;
    switch (row.kind) {
    case RowKind::TabRow: {
        const TabItem &tab = m_rows.tabs()[row.item];
        const QString id = tab.stableID();
        const QSet<QString> selection =
            m_context.selectionStore ? m_context.selectionStore->selectedIDs() : QSet<QString>();
        const bool selected = selection.contains(id);
        const QString hint = m_rows.folderHint(row.item);
        TabRowView::paint(painter, rect,
                          {tab.displayTitle(), tab.isActive,
                           hint.isEmpty() ? std::nullopt : std::optional<QString>(hint),
                           &thumbnailFor(tab.thumbnailURL), hovered ? 1.0 : 0.0,
                           selected ? 1.0 : 0.0, selection.isEmpty() ? 0.0 : 1.0, selected,
                           !m_highlightID.isEmpty() && id == m_highlightID},
                          colors);
        return;
    }
    case RowKind::FolderHeader:
        paintFolderHeader(painter, row, rect);
        return;
    case RowKind::FolderLine:
    case RowKind::UngroupedLine:
    case RowKind::FolderOrderLine: {
        const DropTarget target = ListRows::lineTarget(row);
        if (!m_drag || m_drag->line != target)
            return;
        painter.save();
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
        const ClosedTab &closed = m_rows.closedTabs()[row.item];
        ClosedTabRowView::paint(painter, rect, displayTitle(closed.title),
                                thumbnailFor(closed.thumbnailURL), hovered, colors);
        return;
    }
    case RowKind::UngroupedCaption: {
        const bool lit =
            m_drag && m_drag->zone && m_drag->zone->kind == DropTarget::Kind::UngroupedSection;
        const QRectF caption = rect.adjusted(18, 14, -18, -8);
        PanelPainting::drawElidedText(painter, caption, PanelPainting::captionFont(),
                                      Style::color(lit ? Role::Accent : Role::Secondary, colors),
                                      tr("UNGROUPED"));
        if (lit)
            PanelPainting::drawElidedText(painter, caption, PanelPainting::captionFont(),
                                          Style::color(Role::Accent, colors), tr("Drop to ungroup"),
                                          Qt::AlignRight);
        return;
    }
    case RowKind::RecentCaption:
        PanelPainting::drawElidedText(painter, rect.adjusted(18, rect.height() - 6 - 14, -18, -6),
                                      PanelPainting::captionFont(),
                                      Style::color(Role::Tertiary, colors), tr("RECENTLY CLOSED"));
        return;
    case RowKind::FolderDropRow:
    case RowKind::UngroupedDropRow:
        paintDropRow(painter, row, rect);
        return;
    case RowKind::ResultsCaption:
    case RowKind::DropCaption:
    case RowKind::HintCard:
    case RowKind::NewFolder:
    case RowKind::NoResults:
        return;
    }
}
