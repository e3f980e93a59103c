#pragma once

#include "dragdrop/InsertionLineView.h"
#include "tabs/TabItem.h"

#include <QList>

class FolderStore;

// The line before ungrouped row `index` (or after the last row): dropped tabs leave their
// folders and take that place in the ungrouped order.
class UngroupedInsertionLine : public InsertionLineView {
public:
    UngroupedInsertionLine(int index, const QList<TabItem> &shownTabs, FolderStore *store,
                           QWidget *parent = nullptr);

    int index() const { return m_index; }
    void drop(const QStringList &stableIDs);

private:
    int m_index;
    QList<TabItem> m_shownTabs;
    FolderStore *m_store;
};
