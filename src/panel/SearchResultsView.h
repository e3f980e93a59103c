#pragma once

#include "panel/PanelContext.h"
#include "panel/ReusedView.h"
#include "panel/TabRowView.h"
#include "panel/model/PanelSnapshot.h"

#include <QHash>
#include <QWidget>

class CreateFolderButton;
class QVBoxLayout;
class RoleLabel;

// The list shown while a search is typed: a count header and the matching rows with their folder
// hints, or the no-results block with its create-folder button; then, while folders exist, every
// folder and "Ungrouped" as drop targets.
class SearchResultsView : public QWidget {
    Q_OBJECT
public:
    explicit SearchResultsView(const PanelContext &context, QWidget *parent = nullptr);

    void present(const PanelSnapshot &snapshot);

    QString headerText() const;
    QString noResultsText() const;
    // Null while there are results.
    CreateFolderButton *createFolderButton() const;
    QList<TabRowView *> rows() const { return m_shownRows; }
    // The drop targets; null while no folder exists.
    QWidget *dropSection() const { return m_dropSection.view(); }

    void setKeyboardHighlightedID(const QString &stableID);
    TabRowView *rowFor(const QString &stableID) const;

signals:
    void createFolderRequested();

private:
    QWidget *makeNoResultsBlock();
    QWidget *makeDropSection(const QList<TabFolder> &folders);
    void placeRows(const PanelSnapshot &snapshot);

    PanelContext m_context;
    QVBoxLayout *m_layout;
    QWidget *m_noResults;
    RoleLabel *m_noResultsLabel;
    CreateFolderButton *m_createButton;
    RoleLabel *m_header;
    // Rows by the tab's per-read id, reused while the tab and its hint stay the same.
    QHash<QString, ReusedView<std::pair<TabItem, QString>, TabRowView>> m_rows;
    QList<TabRowView *> m_shownRows;
    ReusedView<QList<TabFolder>, QWidget> m_dropSection;
};
