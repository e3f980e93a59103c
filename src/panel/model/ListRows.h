#pragma once

#include "panel/model/PanelSnapshot.h"
#include "stores/FolderStore.h"

#include <QHash>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSet>
#include <QUuid>

#include <optional>

// The heights the view measures from its fonts; everything else of the layout is fixed here.
struct RowHeights {
    int newFolder = 0;
    int folderHeader = 0;
    int editFolderHeader = 0;
    int tabRow = 52;
    int searchTabRow = 52;
    int insertionLine = 12;
    int ungroupedCaption = 0;
    int hintCard = 0;
    int recentCaption = 0;
    int closedRow = 0;
    int resultsCaption = 0;
    int noResults = 0;
    int dropCaption = 0;
    int dropRow = 0;
};

enum class RowKind {
    NewFolder,
    FolderOrderLine, // edit mode: the line above the first folder and below each folder
    FolderHeader,
    FolderLine, // between the shown rows of an expanded folder
    TabRow,
    UngroupedCaption,
    HintCard,
    UngroupedLine,
    RecentCaption,
    ClosedRow,
    ResultsCaption,
    NoResults,
    DropCaption,
    FolderDropRow,
    UngroupedDropRow,
};

// A place a drag can drop on, by value: the same place keeps its highlight across rebuilds.
struct DropTarget {
    enum class Kind {
        FolderSection,
        UngroupedSection,
        FolderRow,
        UngroupedRow,
        FolderLine,
        UngroupedLine,
        FolderOrderLine
    };
    Kind kind{};
    QUuid folderID{};  // folder sections, folder rows and lines in a folder
    int index = 0;     // lines: the position they insert at
    TabLine between{}; // lines between tabs: the tabs shown below and above

    friend bool operator==(const DropTarget &, const DropTarget &) = default;
};

struct ListRow {
    RowKind kind{};
    int top = 0;
    int height = 0;
    int indent = 0;         // from the list's leading edge
    int trailing = 0;       // inset from the trailing edge
    qsizetype section = -1; // the folder or ungrouped section the row belongs to
    qsizetype item = -1;    // tab rows: index into tabs(); closed rows: into closedTabs(); lines
                            // between tabs: into their TabLines
    int index = 0;          // lines: the position they insert at; headers: the folder's position
    int repeat = 0;         // tab rows: how many rows above show the same file
    QUuid folderID{};

    int bottom() const { return top + height; }
    QRectF rect(qreal width) const {
        return {qreal(indent), qreal(top), width - indent - trailing, qreal(height)};
    }
};

// What a row stands for, the same across rebuilds: a header is its folder, a line its place, a
// tab row its file (by stable id, and which of the rows of that file; a search result is not the
// list's row of the same tab).
struct RowKey {
    RowKind kind{};
    bool isResult = false;
    int index = 0; // lines: their place; tab rows: the row's repeat
    QUuid folderID{};
    QString item{}; // a tab's or a closed tab's stable id

    friend bool operator==(const RowKey &, const RowKey &) = default;
};

inline size_t qHash(const RowKey &key, size_t seed = 0) {
    return qHashMulti(seed, int(key.kind), key.index, key.folderID, key.item);
}

// Where a search result lives: a folder, or no folder at all.
struct FolderHint {
    QString folderName;
    bool isUngrouped = false;

    friend bool operator==(const FolderHint &, const FolderHint &) = default;
};

// A folder section or the ungrouped section: a band of rows that is one drop zone.
struct ListSection {
    DropTarget target;
    int top = 0;
    int height = 0;
    bool takesDrops = true;
    bool isExpanded = true;
};

// The rows of the panel's one list as data, laid out top to bottom. The view paints only the rows
// that meet its visible part and finds rows, zones and lines under a point by this geometry.
class ListRows {
public:
    static ListRows normal(const PanelSnapshot &snapshot, bool isEditingFolders,
                           bool isCreatingFolder, const RowHeights &heights);
    static ListRows search(const PanelSnapshot &snapshot, const RowHeights &heights);

    const QList<ListRow> &rows() const { return m_rows; }
    const QList<ListSection> &sections() const { return m_sections; }
    const QList<TabItem> &tabs() const { return m_tabs; }
    const QList<ClosedTab> &closedTabs() const { return m_closed; }
    // Folder headers and folder drop rows: folders()[row.index].
    const QList<FolderContent> &folders() const { return m_folders; }
    // Search results only, while folders exist: where the tab of tabs()[item] lives.
    std::optional<FolderHint> folderHint(qsizetype item) const;
    // Search results only: the query as typed.
    const QString &query() const { return m_query; }
    bool isSearch() const { return m_isSearch; }
    // Folder edit mode: folders show their handles and trash and take no tabs as a whole.
    bool isEditingFolders() const { return m_isEditingFolders; }
    int height() const { return m_height; }

    // Rows meeting [top, bottom): [first, last) indexes, found by bisection.
    std::pair<qsizetype, qsizetype> rowsBetween(qreal top, qreal bottom) const;
    // The row under the point (content coordinates, list `width` wide); none between rows.
    std::optional<qsizetype> rowAt(const QPointF &point, qreal width) const;
    // The tab row showing the stable id, if shown.
    std::optional<qsizetype> rowOfTab(const QString &stableID) const;
    // Tab rows: the stable id of the tab shown.
    QString stableIDOf(const ListRow &row) const;
    // The ids, those shown first in the order of their rows, then the others sorted.
    QStringList inShownOrder(const QSet<QString> &stableIDs) const;
    // A press, a rename or a transition finds its row again by the key.
    RowKey key(const ListRow &row) const;
    std::optional<qsizetype> rowWithKey(const RowKey &key) const;

    // During a tab drag: the nearest insertion line within its slack (on a tie, the earlier one)
    // and the zone (section or drop row) under the point. Both may be lit at once.
    std::optional<DropTarget> insertionLineAt(const QPointF &point, qreal width) const;
    std::optional<DropTarget> tabZoneAt(const QPointF &point, qreal width) const;
    // During a folder drag: the folder-order line under the point.
    std::optional<DropTarget> folderLineAt(const QPointF &point, qreal width) const;
    // Where a target lies now; none when it is gone.
    std::optional<QRectF> targetRect(const DropTarget &target, qreal width) const;
    // The target a line row stands for.
    DropTarget lineTarget(const ListRow &row) const;
    // The part of a drop row that lights up and takes drops, inside its padding.
    static QRectF dropRowShape(const QRectF &row);

private:
    ListRow &add(RowKind kind, int height, int indent = 0);
    void beginSection(DropTarget target, bool takesDrops, bool expanded);
    void endSection();
    void addTabRows(const QList<TabItem> &tabs, RowKind lineKind, const QUuid &folderID,
                    int rowIndent, const RowHeights &heights);

    QList<ListRow> m_rows;
    QList<ListSection> m_sections;
    void addTabRow(const TabItem &tab, int height, int indent, std::optional<FolderHint> hint);

    QList<TabItem> m_tabs;
    QList<std::optional<FolderHint>> m_hints;
    QList<TabLine> m_lines;
    QHash<QString, int> m_repeats; // while building: rows so far per stable id
    QString m_query;
    bool m_isSearch = false;
    bool m_isEditingFolders = false;
    QList<ClosedTab> m_closed;
    QList<FolderContent> m_folders;
    int m_height = 0;
    qsizetype m_openSection = -1;
};
