#pragma once

#include "dragdrop/InsertionLineView.h"
#include "tabs/TabItem.h"

#include <QList>
#include <QStringList>
#include <QUuid>

class FolderStore;

// The line before shown row `position` of an expanded folder (`position` == size: below the last
// row). The store finds where that is among the folder's ids, which also name closed files.
class FolderInsertionLine : public InsertionLineView {
public:
    FolderInsertionLine(const QUuid &folderID, const QList<TabItem> &shownTabs, qsizetype position,
                        FolderStore *store, QWidget *parent = nullptr);

    // Puts the dropped tabs, in dropped order, where the line is drawn.
    void drop(const QStringList &stableIDs);

private:
    QUuid m_folderID;
    QList<TabItem> m_shownTabs;
    qsizetype m_position;
    FolderStore *m_store;
};
