#pragma once

#include "dragdrop/InsertionMarkerStrip.h"
#include "dragdrop/InsertionZoneView.h"

// The line between two tab rows: an insertion marker strip with an insertion zone over it. The
// marker shows while a tab drag targets the line.
class InsertionLineView : public InsertionMarkerStrip {
public:
    explicit InsertionLineView(QWidget *parent = nullptr);

    // The owner's callbacks; the marker follows the highlight without them.
    void setCallbacks(InsertionZoneView::OnDrop onDrop, InsertionZoneView::OnHighlight onHighlight);
    bool isTargeted() const { return zone_->isTargeted(); }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    InsertionZoneView *zone_;
};
