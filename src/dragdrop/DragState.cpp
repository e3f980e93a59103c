#include "dragdrop/DragState.h"

#include "panel/model/DragGeometry.h"
#include "dragdrop/DragPreviewLabel.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

#include <limits>

DragState &DragState::shared() {
    // Lives as long as the program; never destroyed so late widgets can still unregister.
    static DragState *const instance = new DragState;
    return *instance;
}

void DragState::setScrollArea(QScrollArea *area) {
    disconnect(scrollConnection_);
    autoScroller_.setScrollArea(area);
    if (area)
        scrollConnection_ = connect(area->verticalScrollBar(), &QScrollBar::valueChanged, this,
                                    &DragState::requestHoverRepair);
}

QScrollArea *DragState::scrollArea() const {
    return autoScroller_.scrollArea();
}

void DragState::beginTabDrag(const QString &activeStableID, const QStringList &selection) {
    activeStableID_ = activeStableID;
    dragSelection_ = selection;
}

void DragState::beginFolderDrag(const QUuid &folderID) {
    activeFolderID_ = folderID;
}

void DragState::updatePreview(const QString &label, const QPointF &globalPoint) {
    QScrollArea *area = scrollArea();
    if (!area || !area->isVisible())
        return;
    QWidget *window = area->window();
    if (!previewLabel_ || previewLabel_->parentWidget() != window) {
        removePreview();
        previewLabel_ = new DragPreviewLabel(window);
        previewLabel_->show();
    }
    previewLabel_->raise();
    previewLabel_->setText(label);
    previewLabel_->placeAbove(window->mapFromGlobal(globalPoint));
}

bool DragState::canHit(const QWidget *view, const QPointF &globalPoint) const {
    if (!view || !view->isVisible() || view->isWindow())
        return false;
    // A zone scrolled out of the list's visible part must not take drops meant for what is
    // drawn over it.
    const QScrollArea *area = scrollArea();
    const QWidget *viewport = area ? area->viewport() : nullptr;
    if (viewport && viewport->isAncestorOf(view))
        return DragGeometry::contains(QRectF(viewport->rect()),
                                      viewport->mapFromGlobal(globalPoint));
    return true;
}

std::optional<DragState::TabZones::Entry>
DragState::insertionZoneAt(const QPointF &globalPoint) const {
    std::optional<TabZones::Entry> nearest;
    qreal nearestDistance = std::numeric_limits<qreal>::max();
    for (const TabZones::Entry &entry : insertionZones_.entries()) {
        if (!canHit(entry.view, globalPoint))
            continue;
        const std::optional<qreal> distance = DragGeometry::insertionDistance(
            QRectF(entry.view->rect()), entry.view->mapFromGlobal(globalPoint));
        // Strictly nearer only: on a tie the zone registered first keeps it.
        if (distance && *distance < nearestDistance) {
            nearestDistance = *distance;
            nearest = entry;
        }
    }
    return nearest;
}

template <typename Payload>
std::optional<typename ZoneRegistry<Payload>::Entry>
DragState::firstZoneAt(const ZoneRegistry<Payload> &registry, const QPointF &globalPoint) const {
    for (const auto &entry : registry.entries()) {
        if (canHit(entry.view, globalPoint) &&
            DragGeometry::contains(QRectF(entry.view->rect()),
                                   entry.view->mapFromGlobal(globalPoint)))
            return entry;
    }
    return std::nullopt;
}

void DragState::updateHover(const QPointF &globalPoint) {
    if (!activeStableID_)
        return;
    zones_.purge();
    insertionZones_.purge();
    insertionZones_.hover(insertionZoneAt(globalPoint));
    zones_.hover(firstZoneAt(zones_, globalPoint));
}

void DragState::updateFolderHover(const QPointF &globalPoint) {
    if (!activeFolderID_)
        return;
    folderInsertionZones_.purge();
    folderInsertionZones_.hover(firstZoneAt(folderInsertionZones_, globalPoint));
}

void DragState::updateAutoScroll(const QPointF &globalPoint) {
    autoScroller_.update(globalPoint);
}

void DragState::endDrag() {
    QStringList ids = dragSelection_;
    if (ids.isEmpty() && activeStableID_)
        ids = {*activeStableID_};
    // A line inside a section wins over the section around it.
    if (!ids.isEmpty() && !insertionZones_.dropOnHovered(ids))
        zones_.dropOnHovered(ids);
    resetDrag();
}

void DragState::endFolderDrag() {
    if (activeFolderID_)
        folderInsertionZones_.dropOnHovered(*activeFolderID_);
    resetFolderDrag();
}

void DragState::cancelDrag() {
    if (activeFolderID_)
        resetFolderDrag();
    else
        resetDrag();
}

void DragState::resetDrag() {
    insertionZones_.clearHover();
    zones_.clearHover();
    activeStableID_.reset();
    dragSelection_.clear();
    removePreview();
    autoScroller_.stop();
    zones_.purge();
    insertionZones_.purge();
    emit dragFinished();
}

void DragState::resetFolderDrag() {
    folderInsertionZones_.clearHover();
    activeFolderID_.reset();
    removePreview();
    autoScroller_.stop();
    folderInsertionZones_.purge();
    emit dragFinished();
}

void DragState::removePreview() {
    if (!previewLabel_)
        return;
    // Deleted later: a drag may end while the panel window is going through its children.
    previewLabel_->hide();
    previewLabel_->deleteLater();
    previewLabel_ = nullptr;
}

void DragState::requestHoverRepair() {
    if (hoverRepairPending_)
        return;
    hoverRepairPending_ = true;
    QTimer::singleShot(0, this, [this] {
        hoverRepairPending_ = false;
        emit hoverRepairRequested();
    });
}
