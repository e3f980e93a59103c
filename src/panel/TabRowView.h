#pragma once

#include "panel/Thumbnail.h"
#include "panel/model/ListRows.h"

#include <QColor>
#include <QCoreApplication>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;
class QPalette;

// What a tab row paints: the list view fills one per visible row.
struct TabRowLook {
    QString title{};
    bool isActive = false;
    std::optional<FolderHint> folderHint{}; // search results, while folders exist
    Thumbnail thumbnail{};
    qreal hover = 0;           // 0 to 1
    qreal selected = 0;        // 0 to 1
    qreal selectionActive = 0; // 0 to 1: marks replace the thumbnails
    bool isSelected = false;
    bool isKeyboardHighlighted = false;
};

// The row that stands for one open tab, in folder sections, the ungrouped section and search
// results: how it is painted. The list view owns its rows' state. Its looks multiply the
// painter's opacity, so a row fades with the list around it.
class TabRowView {
    Q_DECLARE_TR_FUNCTIONS(TabRowView)
public:
    static constexpr int rowHeight = 52;

    // Paints a row into `rect` (the row's whole band, outer padding included).
    static void paint(QPainter &painter, const QRectF &rect, const TabRowLook &look,
                      const QPalette &palette);
    static QColor backgroundColor(const TabRowLook &look, const QPalette &palette);
    static QColor borderColor(const TabRowLook &look, const QPalette &palette);
    static qreal arrowOpacity(const TabRowLook &look);
};
