#pragma once

#include "panel/model/ListRows.h"

#include <QRectF>
#include <QString>

#include <optional>

class QPainter;
class QPalette;

// The list's rows that are neither tabs nor folders: captions, the hint card, the new-folder
// row's background and the no-results block. Their heights come from the fonts; their buttons'
// rects serve both painting and hit-testing, so a click lands where the button is drawn.
namespace PaintedRows {

// Every row height of the list, measured from the fonts and the new-folder field's height, for
// rows painted in a list `listWidth` wide (the hint card's text wraps to it).
RowHeights measuredHeights(int newFolderFieldHeight, int listWidth);

// "Clear" in the Recently Closed caption.
QRectF clearButtonRect(const QRectF &caption);
// "Create your first folder" on the hint card.
QRectF hintCardButtonRect(const QRectF &row);
// Create folder "<query>" under the no-results text; never wider than the panel's content.
QRectF createFolderButtonRect(const QRectF &row, const QString &query);
// Where the new-folder row's text field goes.
QRectF newFolderFieldRect(const QRectF &row, int fieldHeight);
// "No results for …" with a query too long for one line shortened in its middle.
QString noResultsMessage(const QString &query);

struct Look {
    const QPalette &palette;
    bool lit = false;    // the ungrouped caption while its section is a drop target
    bool enabled = true; // the no-results block's create button
    qreal opacity = 1;   // buttons fading in or out
};

// A search drop row: into the folder `folderName`, or out of every folder when it has none.
struct DropRowLook {
    const QPalette &palette;
    std::optional<QString> folderName;
    bool isTargeted = false; // the pointer of a tab drag is on it
    qreal lit = 0;           // its accent fill and outline, easing in and out
};

void paintUngroupedCaption(QPainter &painter, const QRectF &row, const Look &look);
void paintRecentCaption(QPainter &painter, const QRectF &row, const Look &look);
void paintResultsCaption(QPainter &painter, const QRectF &row, qsizetype count, const Look &look);
void paintDropCaption(QPainter &painter, const QRectF &row, const Look &look);
void paintHintCard(QPainter &painter, const QRectF &row, const Look &look);
void paintNewFolder(QPainter &painter, const QRectF &row, const Look &look);
void paintNoResults(QPainter &painter, const QRectF &row, const QString &query, const Look &look);
void paintDropRow(QPainter &painter, const QRectF &row, const DropRowLook &look);
// The accent fill and border of a lit section or drop row, `lit` of the way in.
void paintLitShape(QPainter &painter, const QRectF &shape, const QPalette &palette, qreal lit);

} // namespace PaintedRows
