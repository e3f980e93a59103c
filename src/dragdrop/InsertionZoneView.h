#pragma once

#include "dragdrop/RegisteredZoneView.h"

#include <QStringList>

// Laid over a thin line between tab rows; hit 18 px above and below the line as well, the
// nearest line winning.
class InsertionZoneView : public RegisteredZoneView<QStringList> {
public:
    explicit InsertionZoneView(QWidget *parent = nullptr);
};
