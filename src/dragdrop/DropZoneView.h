#pragma once

#include "dragdrop/RegisteredZoneView.h"

#include <QStringList>

// Laid over a whole area that takes dropped tabs (a folder section, the ungrouped section, a
// drop-target row). It draws nothing; the owner draws its own highlight.
class DropZoneView : public RegisteredZoneView<QStringList> {
public:
    explicit DropZoneView(QWidget *parent = nullptr);
};
