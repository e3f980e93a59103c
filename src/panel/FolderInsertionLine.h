#pragma once

#include "dragdrop/InsertionLineView.h"

#include <QStringList>
#include <QUuid>

class FolderStore;

// The line between two shown rows of an expanded folder. A folder's `tabIDs` also hold files
// that are closed right now, so the line remembers the shown rows around it rather than a
// count of rows, and finds its place in `tabIDs` when tabs are dropped on it.
class FolderInsertionLine : public InsertionLineView {
public:
    // `rowAbove` and `rowBelow` are the stable ids of the shown rows around the line (empty
    // for the first and the last line).
    FolderInsertionLine(const QUuid &folderID, const QString &rowAbove, const QString &rowBelow,
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
    QUuid m_folderID;
    QString m_rowAbove;
    QString m_rowBelow;
    FolderStore *m_store;
};
