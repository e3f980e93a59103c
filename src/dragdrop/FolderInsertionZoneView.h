#pragma once

#include "dragdrop/RegisteredZoneView.h"

#include <QUuid>

// Laid over a line between folders in edit mode; receives the dragged folder's id.
class FolderInsertionZoneView : public RegisteredZoneView<QUuid> {
public:
    explicit FolderInsertionZoneView(QWidget *parent = nullptr);
};
