#include "panel/NormalListView.h"

#include "panel/FolderOrderInsertionLine.h"
#include "panel/FolderSectionView.h"
#include "panel/NewFolderRowView.h"
#include "panel/RecentlyClosedSectionView.h"
#include "panel/TabRowView.h"
#include "panel/UngroupedSectionView.h"

#include <QSet>
#include <QVBoxLayout>

NormalListView::NormalListView(const PanelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_layout(new QVBoxLayout(this))
    , m_newFolderRow(new NewFolderRowView(this)) {
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_newFolderRow->hide();
}

void NormalListView::present(const PanelSnapshot &snapshot, bool isEditingFolders,
                             bool isCreatingFolder) {
    // Only the layout's items go; the widgets stay and are placed again in the new order.
    while (QLayoutItem *item = m_layout->takeAt(0))
        delete item;

    m_layout->addWidget(m_newFolderRow);
    m_newFolderRow->setVisible(isCreatingFolder);
    placeFolders(snapshot, isEditingFolders);

    const bool hasFolders = !snapshot.folders.isEmpty();
    if (!isEditingFolders && !snapshot.ungroupedTabs.isEmpty()) {
        m_layout->addWidget(m_ungrouped.take({snapshot.ungroupedTabs, hasFolders}, [&] {
            return new UngroupedSectionView(snapshot.ungroupedTabs, m_context, this);
        }));
    } else {
        m_ungrouped.discard();
    }
    if (!isEditingFolders && !snapshot.recentTabs.isEmpty()) {
        m_layout->addWidget(m_recent.take(snapshot.recentTabs, [&] {
            return new RecentlyClosedSectionView(snapshot.recentTabs, m_context, this);
        }));
    } else {
        m_recent.discard();
    }
    m_layout->addStretch(1);
    for (QWidget *child :
         {static_cast<QWidget *>(m_ungrouped.view()), static_cast<QWidget *>(m_recent.view())}) {
        if (child)
            child->show();
    }
}

void NormalListView::placeFolders(const PanelSnapshot &snapshot, bool isEditingFolders) {
    QSet<QUuid> shown;
    if (isEditingFolders)
        m_layout->addWidget(orderLine(0));
    for (qsizetype position = 0; position < snapshot.folders.size(); ++position) {
        const FolderContent &content = snapshot.folders.at(position);
        shown.insert(content.folder.id);
        FolderSectionView *section =
            m_folders[content.folder.id].take({content, isEditingFolders}, [&] {
                return new FolderSectionView(content.folder, content.tabs, isEditingFolders,
                                             m_context, this);
            });
        m_layout->addWidget(section);
        section->show();
        if (isEditingFolders)
            m_layout->addWidget(orderLine(int(position) + 1));
    }
    for (auto it = m_folders.begin(); it != m_folders.end();) {
        if (shown.contains(it.key())) {
            ++it;
        } else {
            it->discard();
            it = m_folders.erase(it);
        }
    }
    const int lineCount = isEditingFolders ? int(snapshot.folders.size()) + 1 : 0;
    for (auto it = m_orderLines.begin(); it != m_orderLines.end();) {
        if (it.key() < lineCount) {
            ++it;
        } else {
            it->discard();
            it = m_orderLines.erase(it);
        }
    }
}

FolderOrderInsertionLine *NormalListView::orderLine(int targetIndex) {
    FolderOrderInsertionLine *line = m_orderLines[targetIndex].take(targetIndex, [&] {
        return new FolderOrderInsertionLine(targetIndex, m_context.folderStore, this);
    });
    line->show();
    return line;
}

FolderSectionView *NormalListView::folderSection(const QUuid &folderID) const {
    const auto it = m_folders.constFind(folderID);
    return it == m_folders.cend() ? nullptr : it->view();
}

QList<FolderOrderInsertionLine *> NormalListView::folderOrderLines() const {
    QList<FolderOrderInsertionLine *> lines;
    for (int index = 0; index < m_orderLines.size(); ++index)
        lines.append(m_orderLines.value(index).view());
    return lines;
}

void NormalListView::setKeyboardHighlightedID(const QString &stableID) {
    for (const auto &folder : std::as_const(m_folders)) {
        if (folder.view())
            folder.view()->setKeyboardHighlightedID(stableID);
    }
    if (m_ungrouped.view())
        m_ungrouped.view()->setKeyboardHighlightedID(stableID);
}

TabRowView *NormalListView::rowFor(const QString &stableID) const {
    const auto rows = findChildren<TabRowView *>();
    for (TabRowView *row : rows) {
        if (row->isVisibleTo(this) && row->stableID() == stableID)
            return row;
    }
    return nullptr;
}
