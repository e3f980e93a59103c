#pragma once

#include "panel/TabSectionView.h"
#include "stores/TabFolder.h"
#include "tabs/TabItem.h"

class FolderHeaderDragSourceView;
class FolderInsertionLine;
class InPlaceNameField;
class SymbolButton;

// One folder in the normal list: its header (name, count; in edit mode a drag handle and a
// delete button) and, while expanded, its open tabs with insertion lines between them. Tabs
// dropped anywhere on it (outside edit mode) go to the end of the folder.
class FolderSectionView : public TabSectionView {
    Q_OBJECT
public:
    // `tabs` are the folder's open tabs in folder order.
    FolderSectionView(const TabFolder &folder, const QList<TabItem> &tabs, bool isEditMode,
                      const PanelContext &context, QWidget *parent = nullptr);

    const TabFolder &folder() const { return m_folder; }
    const QList<TabItem> &tabs() const { return m_tabs; }
    bool isEditMode() const { return m_editMode; }
    const QList<FolderInsertionLine *> &lines() const { return m_lines; }
    FolderHeaderDragSourceView *headerDragSource() const { return m_headerSource; }
    // Only in edit mode.
    SymbolButton *deleteButton() const { return m_deleteButton; }

    bool isRenaming() const { return m_renameField != nullptr; }
    // Only while renaming.
    InPlaceNameField *renameField() const { return m_renameField; }
    void startRenaming();
    // Trims spaces and tabs; a blank result keeps the old name. Renaming ends either way.
    void commitRename();
    void cancelRename();

    void toggleExpanded();
    void deleteFolder();
    // Appends the tabs at the end of the folder, in dropped order; nothing in edit mode.
    void dropTabs(const QStringList &stableIDs) override;
    QColor folderIconColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect headerRect() const;
    QRect headerContentRect() const;
    QRectF nameRect() const;
    QString countText() const;
    void attachHeaderSource();
    void endRenaming();

    TabFolder m_folder;
    QList<TabItem> m_tabs;
    bool m_editMode;
    FolderHeaderDragSourceView *m_headerSource = nullptr;
    SymbolButton *m_deleteButton = nullptr;
    InPlaceNameField *m_renameField = nullptr;
    QList<FolderInsertionLine *> m_lines;
};
