#pragma once

#include "stores/TabFolder.h"

#include <QFont>
#include <QRectF>

class QPainter;
class QPalette;

// One folder in the normal list: its header (chevron, name, count; in edit mode a drag handle
// and a delete button) over its open tabs. The list view lays out the section's rows; this
// paints the header and says where its pieces are, for painting and hit-testing alike.
class FolderSectionView {
public:
    struct HeaderParts {
        QRectF leading; // the chevron, or the edit-mode handle
        QRectF icon;
        QRectF name;
        QRectF count;
        QRectF trash; // edit mode only
    };
    struct HeaderLook {
        qsizetype tabCount = 0;
        bool isEditMode = false;
        bool isDropTarget = false; // a drag is over the section: the icon turns white
        bool showsName = true;     // not while the name is being edited in place
    };

    static HeaderParts headerParts(const QRectF &header, bool isEditMode, qsizetype tabCount);
    static int headerHeight(bool isEditMode);
    static void paintHeader(QPainter &painter, const QRectF &header, const TabFolder &folder,
                            const HeaderLook &look, const QPalette &palette);
    static QFont nameFont();
    // Where the in-place name field goes, its height fitting the name font.
    static QRectF nameFieldRect(const QRectF &header, bool isEditMode, qsizetype tabCount);
};
