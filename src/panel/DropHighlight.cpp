#include "panel/DropHighlight.h"

#include "dragdrop/DropZoneView.h"
#include "panel/PanelPainting.h"
#include "ui/Style.h"

#include <QPainter>
#include <QWidget>

namespace {
constexpr qreal radius = 8;
constexpr qreal borderWidth = 1.5;
} // namespace

DropHighlight::DropHighlight(QWidget *owner, OnDrop onDrop)
    : m_owner(owner)
    , m_targeted(owner, 100)
    , m_zone(new DropZoneView(owner)) {
    m_zone->setCallbacks(std::move(onDrop), [this](bool on) { m_targeted.set(on); });
}

void DropHighlight::setEnabled(bool enabled) {
    m_zone->setVisible(enabled);
    if (!enabled)
        m_targeted.jump(false);
}

QColor DropHighlight::fillColor() const {
    return Style::color(Style::Role::Accent, m_owner->palette(), 0.14 * m_targeted.progress());
}

QColor DropHighlight::borderColor() const {
    return Style::color(Style::Role::Accent, m_owner->palette(), 0.5 * m_targeted.progress());
}

void DropHighlight::paint(QPainter &painter, const QRectF &shape) const {
    PanelPainting::fillRounded(painter, shape, radius, fillColor());
    PanelPainting::strokeRoundedInside(painter, shape, radius, borderWidth, borderColor());
}

void DropHighlight::setGeometry(const QRect &area) {
    m_zone->setGeometry(area);
}
