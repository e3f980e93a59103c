#pragma once

#include "panel/FolderOrderInsertionLine.h"
#include "panel/FolderSectionView.h"
#include "panel/PanelContext.h"
#include "panel/RecentlyClosedSectionView.h"
#include "panel/ReusedView.h"
#include "panel/TabRowView.h"
#include "panel/UngroupedSectionView.h"
#include "panel/model/PanelSnapshot.h"

#include <QHash>
#include <QUuid>
#include <QWidget>

class NewFolderRowView;
class QVBoxLayout;

// The list shown while no search is typed: the new-folder row, the folders (with folder-order
// lines in edit mode), then the ungrouped and recently closed sections outside edit mode.
class NormalListView : public QWidget {
    Q_OBJECT
public:
    explicit NormalListView(const PanelContext &context, QWidget *parent = nullptr);

    // Lays out the sections for the snapshot, keeping every section whose inputs are unchanged.
    void present(const PanelSnapshot &snapshot, bool isEditingFolders, bool isCreatingFolder);

    NewFolderRowView *newFolderRow() const { return m_newFolderRow; }
    FolderSectionView *folderSection(const QUuid &folderID) const;
    UngroupedSectionView *ungroupedSection() const { return m_ungrouped.view(); }
    RecentlyClosedSectionView *recentlyClosedSection() const { return m_recent.view(); }
    QList<FolderOrderInsertionLine *> folderOrderLines() const;

    void setKeyboardHighlightedID(const QString &stableID);
    // The shown row of the tab, if any.
    TabRowView *rowFor(const QString &stableID) const;

private:
    FolderOrderInsertionLine *orderLine(int targetIndex);
    void placeFolders(const PanelSnapshot &snapshot, bool isEditingFolders);

    PanelContext m_context;
    QVBoxLayout *m_layout;
    NewFolderRowView *m_newFolderRow;
    QHash<QUuid, ReusedView<std::pair<FolderContent, bool>, FolderSectionView>> m_folders;
    QHash<int, ReusedView<int, FolderOrderInsertionLine>> m_orderLines;
    // The ungrouped section also shows its hint card while no folder exists.
    ReusedView<std::pair<QList<TabItem>, bool>, UngroupedSectionView> m_ungrouped;
    ReusedView<QList<ClosedTab>, RecentlyClosedSectionView> m_recent;
};
