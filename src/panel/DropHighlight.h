#pragma once

#include "panel/AnimatedFlag.h"

#include <QColor>
#include <QRectF>
#include <QStringList>

#include <functional>

class DropZoneView;
class QPainter;
class QWidget;

// The drop zone of an area that takes dropped tabs (a folder section, the ungrouped section, a
// drop-target row) and the look it gives its owner while a tab drag is over it: an accent tint
// at 14 % with a 1.5 px accent border at 50 %, eased over 0.1 s.
class DropHighlight {
public:
    using OnDrop = std::function<void(const QStringList &)>;

    // The zone is a child of `owner`; `onDrop` runs with the dropped stable ids.
    DropHighlight(QWidget *owner, OnDrop onDrop);

    bool isTargeted() const { return m_targeted.isOn(); }
    qreal progress() const { return m_targeted.progress(); }
    DropZoneView *zone() const { return m_zone; }
    // Stops taking drops (a folder section in edit mode) or takes them again.
    void setEnabled(bool enabled);

    QColor fillColor() const;
    QColor borderColor() const;
    void paint(QPainter &painter, const QRectF &shape) const;
    // The zone covers `area` of the owner.
    void setGeometry(const QRect &area);

private:
    QWidget *m_owner;
    AnimatedFlag m_targeted;
    DropZoneView *m_zone;
};
