#pragma once

#include "dragdrop/EdgeAutoScroller.h"
#include "dragdrop/ZoneRegistry.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

#include "dragdrop/DragPreviewLabel.h"
#include <QScrollArea>

// The panel's one drag in progress and the places that accept drops. Drag sources start and
// feed a drag; zones register themselves; on release the zone under the pointer gets the drop.
// GUI thread only.
class DragState : public QObject {
    Q_OBJECT
public:
    using TabZones = ZoneRegistry<QStringList>;
    using FolderZones = ZoneRegistry<QUuid>;

    static DragState &shared();

    // Whole areas that take dropped tabs, lines between tab rows, lines between folders.
    TabZones &zones() { return zones_; }
    TabZones &insertionZones() { return insertionZones_; }
    FolderZones &folderInsertionZones() { return folderInsertionZones_; }

    // The panel's list: edge auto-scroll moves it, the label is drawn in its window, and zones
    // inside it are hit only where the list shows them.
    void setScrollArea(QScrollArea *area);
    QScrollArea *scrollArea() const;

    void beginTabDrag(const QString &activeStableID, const QStringList &selection);
    void beginFolderDrag(const QUuid &folderID);
    std::optional<QString> activeStableID() const { return activeStableID_; }
    QStringList dragSelection() const { return dragSelection_; }
    std::optional<QUuid> activeFolderID() const { return activeFolderID_; }
    bool isDragging() const { return activeStableID_ || activeFolderID_; }

    // Called by the drag source on every move of a started drag, in this order.
    void updatePreview(const QString &label, const QPointF &globalPoint);
    void updateHover(const QPointF &globalPoint);
    void updateFolderHover(const QPointF &globalPoint);
    void updateAutoScroll(const QPointF &globalPoint);

    // Deliver at most one drop to the zone under the pointer, then clear everything.
    void endDrag();
    void endFolderDrag();
    // Ends either drag without a drop: its source lost the mouse before the button came up.
    void cancelDrag();

    qreal scrollSpeed() const { return autoScroller_.speed(); }
    bool isAutoScrolling() const { return autoScroller_.isRunning(); }
    const DragPreviewLabel *previewLabel() const { return previewLabel_; }

    // Rows moved under a resting pointer (a rebuild): hover states are checked on the next turn.
    void requestHoverRepair();

signals:
    void hoverRepairRequested();
    // A drag ended, dropped or not; the list may rebuild now (drops arrive one turn later).
    void dragFinished();

private:
    DragState() = default;

    bool canHit(const QWidget *view, const QPointF &globalPoint) const;
    std::optional<TabZones::Entry> insertionZoneAt(const QPointF &globalPoint) const;
    template <typename Payload>
    std::optional<typename ZoneRegistry<Payload>::Entry>
    firstZoneAt(const ZoneRegistry<Payload> &registry, const QPointF &globalPoint) const;

    void resetDrag();
    void resetFolderDrag();
    void removePreview();

    TabZones zones_;
    TabZones insertionZones_;
    FolderZones folderInsertionZones_;
    std::optional<QString> activeStableID_;
    QStringList dragSelection_;
    std::optional<QUuid> activeFolderID_;
    QPointer<DragPreviewLabel> previewLabel_;
    EdgeAutoScroller autoScroller_;
    QMetaObject::Connection scrollConnection_;
    bool hoverRepairPending_ = false;
};
