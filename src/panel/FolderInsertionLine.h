#pragma once

#include "dragdrop/InsertionLineView.h"
#include "tabs/TabItem.h"

#include <QList>
#include <QStringList>
#include <QUuid>

class FolderStore;

// The line between two shown rows of an expanded folder. A folder's `tabIDs` also hold files
// that are closed right now, so the line remembers the shown rows around it rather than a
// count of rows, and finds its place in `tabIDs` when tabs are dropped on it.
class FolderInsertionLine : public InsertionLineView {
public:
    // The line above `shownTabs[position]` (`position` == size: below the last row). The ids of
    // the rows around it are read only when a drop needs them: they are parsed from URLs.
    FolderInsertionLine(const QUuid &folderID, const QList<TabItem> &shownTabs, qsizetype position,
                        FolderStore *store, QWidget *parent = nullptr);

    // The position in the folder's current `tabIDs` a drop inserts at.
    int index() const;
    // Puts the dropped tabs, in dropped order, where the line is drawn.
    void drop(const QStringList &stableIDs);

    // Where a line between the shown rows `rowAbove` and `rowBelow` stands in `tabIDs`: before
    // the row below, else after the row above, else at the end.
    static int tabIDsPosition(const QStringList &tabIDs, const QString &rowAbove,
                              const QString &rowBelow);

private:
    int positionIn(const QStringList &tabIDs) const;

    QUuid m_folderID;
    QList<TabItem> m_shownTabs;
    qsizetype m_position;
    FolderStore *m_store;
};
