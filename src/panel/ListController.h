#pragma once

#include "panel/PanelContext.h"
#include "panel/model/KeyboardHighlight.h"
#include "panel/model/ListRows.h"
#include "panel/model/PanelSnapshot.h"

#include <QObject>
#include <QPointF>
#include <QStringList>

#include <optional>

class QMenu;
class QWidget;

// Which part of a row the pointer is on.
enum class RowPart {
    Body,
    Button, // a painted button: "Clear", the hint card's, create-from-search, a closed row's
            // "xmark", the edit-mode trash, a normal folder header as a whole
    Handle, // the edit-mode header's drag handle
};

// What lies under the pointer: a row by what it stands for, not by where it is.
struct RowHit {
    RowKey row;
    RowPart part = RowPart::Body;

    friend bool operator==(const RowHit &, const RowHit &) = default;

    // What the keyboard reaches on a highlighted row: a row whose one control is a painted button
    // ("Clear", the hint card's) stands for that button.
    static RowHit highlighted(const RowKey &row) {
        const bool isButton = row.kind == RowKind::RecentCaption || row.kind == RowKind::HintCard;
        return {row, isButton ? RowPart::Button : RowPart::Body};
    }
};

// A drag in progress: the carried tabs (in the order their rows are shown) or folder, and what
// it would drop on.
struct ListDrag {
    QStringList stableIDs;
    std::optional<QUuid> folderID;
    QString label;
    std::optional<DropTarget> line;
    std::optional<DropTarget> zone;

    bool lights(const DropTarget &target) const { return line == target || zone == target; }
};

// Where a key came from: the search field keeps Left, Right, Home, End and Delete for its text.
enum class KeyOrigin { SearchField, List };

// Turns what the user does to the list (presses, drags, menus, keys) into store operations: the
// one place the panel changes a store. It knows rows, never pixels: the view hit-tests, paints,
// scrolls and eases, and hands over what is under the pointer.
//
// A press holds the identity of what it pressed and finds it again in the rows as they are; a
// rebuild that takes the row away ends the press, as do another button, a menu, the panel closing
// or the button coming up unseen (cancel()). A drag holds stable ids, so it survives any rebuild.
class ListController : public QObject {
    Q_OBJECT
public:
    explicit ListController(const PanelContext &context, QObject *parent = nullptr);

    // The rows as shown now.
    void setRows(const ListRows &rows);
    const ListRows &rows() const { return m_rows; }

    // The left button went down on `hit` at `point` (the view's coordinates).
    void press(const RowHit &hit, const QPointF &point, Qt::KeyboardModifiers modifiers);
    // The pointer moved with the button held: past its threshold a press becomes a drag.
    void moveTo(const QPointF &point);
    // During a drag: the line and the zone under the pointer.
    void setTargets(const std::optional<DropTarget> &line, const std::optional<DropTarget> &zone);
    // The left button came up over `hit` (none: not over a row). A drag drops; a press acts on
    // its row, and on a painted button only when it comes up on that same button.
    void release(const std::optional<RowHit> &hit);
    // Ends a press without acting and a drag without dropping.
    void cancel();
    bool isHolding() const { return m_press || m_drag; }
    const std::optional<ListDrag> &drag() const { return m_drag; }

    // What a click on that part of the row does; also for the keyboard and accessibility.
    void activate(const RowKey &row, RowPart part = RowPart::Body);
    // Ctrl-click on a tab row: in or out of the selection.
    void toggleSelected(const RowKey &row);
    // The row's menu, owned by `parent`; null where a row offers none (edit-mode headers, rows
    // that are not tabs or folders, a tab with nowhere to go). Showing one ends any press.
    QMenu *createMenu(const RowKey &row, QWidget *parent);
    // Shows it at `globalPos`, deleted when closed; returns it, or null.
    QMenu *showMenu(const RowKey &row, const QPoint &globalPos, QWidget *parent);

    // The keyboard, from the search field: the derived lists it moves over, the keys it takes.
    void setSnapshot(const PanelSnapshot &snapshot);
    // Returns whether the key was consumed. Escape ends a drag, else empties the search, else
    // closes the panel; the Menu key and Shift+F10 ask for the highlighted row's menu;
    // Ctrl+Space puts the highlighted tab in or out of the selection. Up and Down walk the
    // results while searching, else the tab rows, folder headers, closed rows, the "Clear"
    // caption and the hint card; Return acts on the highlighted row. From the list only: Home,
    // End, Page Up and Down; Left and Right collapse and expand a header, Left on a folder's tab
    // goes to its header; F2 renames a folder; Delete removes a closed tab, and deletes a folder
    // in edit mode.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                   KeyOrigin origin = KeyOrigin::SearchField);
    // How many rows Page Up and Page Down move over.
    void setPageRows(int rows);
    void resetHighlight();
    std::optional<RowKey> highlightedRow() const;
    // The stable id of the highlighted tab; empty for none.
    QString highlightedID() const;
    const KeyboardHighlight &keyboardHighlight() const { return m_highlight; }

    // What the panel's own fields ask for.
    void createFolder(const QString &typedName);
    void renameFolder(const QUuid &folderID, const QString &typedName);
    void createFolderFromSearch();
    // A plain click on a tab and Return: the selection empties, then Figma shows the tab.
    void openTab(const TabItem &tab);

signals:
    // The press or drag began or ended, or the drag's targets changed.
    void holdChanged();
    void highlightChanged(const std::optional<RowKey> &row);
    // The next rows come from this action and ease in over `durationMs`.
    void rowsEase(int durationMs);
    // The keyboard asks for the row's menu, shown at the row.
    void menuRequested(const RowKey &row);
    // "Rename" in a folder header's menu.
    void renameRequested(const QUuid &folderID);
    // The hint card's button.
    void createFolderRequested();
    // Escape, a tab opened by Return, a folder made from the query: the search empties.
    void searchClearRequested();

private:
    struct Press {
        RowHit hit;
        QPointF point;
        Qt::KeyboardModifiers modifiers;
    };

    const ListRow *rowOf(const RowKey &key) const;
    bool mayDrag(const Press &press, const ListRow &row) const;
    void startDrag(const ListRow &row);
    void finishDrag(bool drop);
    void applyDrop(const ListDrag &drag);
    // The rows the keys stop on, top to bottom.
    QList<RowKey> navigableRows() const;
    bool highlight(const RowKey &row);
    bool handleListKey(int key, const std::optional<RowKey> &highlighted, qsizetype count);
    void setExpanded(const RowKey &header, bool expanded);
    void openHighlighted();
    // Return on a highlighted row other than a tab.
    void activateHighlighted(const RowKey &row);
    void applyHighlight();

    PanelContext m_context;
    ListRows m_rows;
    std::optional<Press> m_press;
    std::optional<ListDrag> m_drag;
    PanelSnapshot m_snapshot;
    KeyboardHighlight m_highlight;
    std::optional<RowKey> m_shownHighlight;
    int m_pageRows = 8;
};
