#pragma once

#include "panel/model/ListRows.h"

// Row heights for list tests: fixed numbers, so expected positions read as sums.
inline RowHeights testRowHeights() {
    RowHeights h;
    h.newFolder = 60;
    h.folderHeader = 40;
    h.editFolderHeader = 56;
    h.ungroupedCaption = 36;
    h.hintCard = 120;
    h.recentCaption = 50;
    h.closedRow = 54;
    h.resultsCaption = 36;
    h.noResults = 100;
    h.dropCaption = 50;
    h.dropRow = 48;
    return h;
}
