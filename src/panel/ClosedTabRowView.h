#pragma once

#include "panel/Thumbnail.h"
#include "stores/ClosedTab.h"
#include "tabs/TabItem.h"

#include <QRect>

class QPainter;
class QPalette;

// One entry of the recently closed section: how it is painted, where its "xmark" button sits
// (drawn and clickable only while the row is hovered) and the tab a click reopens.
class ClosedTabRowView {
public:
    static constexpr int rowHeight = 54;

    static QRect removeButtonRect(const QRect &row);
    // The transient tab a click hands to the tab manager.
    static TabItem reopenedTab(const ClosedTab &closedTab);
    static void paint(QPainter &painter, const QRectF &rect, const QString &title,
                      const Thumbnail &thumbnail, bool hovered, const QPalette &palette);
};
