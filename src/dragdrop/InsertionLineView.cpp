#include "dragdrop/InsertionLineView.h"

#include "dragdrop/SafeCall.h"

InsertionLineView::InsertionLineView(QWidget *parent)
    : InsertionMarkerStrip(parent)
    , zone_(new InsertionZoneView(this)) {
    setCallbacks({}, {});
}

void InsertionLineView::setCallbacks(InsertionZoneView::OnDrop onDrop,
                                     InsertionZoneView::OnHighlight onHighlight) {
    zone_->setCallbacks(std::move(onDrop), [this, onHighlight = std::move(onHighlight)](bool on) {
        setMarkerShown(on);
        callSafely(onHighlight, on);
    });
}

void InsertionLineView::resizeEvent(QResizeEvent *event) {
    InsertionMarkerStrip::resizeEvent(event);
    zone_->setGeometry(rect());
}
