#pragma once

#include "panel/PanelContext.h"
#include "panel/model/ListRows.h"
#include "panel/model/PanelDerivation.h"

#include <QPointer>
#include <QWidget>

class EmptyStateView;
class KeyboardHighlight;
class LoadingStateView;
class PanelFooterView;
class PanelHeaderView;
class PlainTextButton;
class RebuildScheduler;
class RowListView;
class SearchFieldView;
#include "settings/SettingsView.h"

// The panel, 420 wide: header, search row, the content (loading, empty, the normal list or the
// search results) and footer; or the settings page in their place. It holds only transient
// state (search text, keyboard highlight, folder creation, edit mode, settings page) and derives
// everything else from the stores, rebuilding once per event-loop turn after they change.
//
// Its height follows the list's: it calls updateGeometry() and emits preferredHeightChanged();
// a window hosting it resizes to sizeHint().
class MenuBarView : public QWidget {
    Q_OBJECT
public:
    static constexpr int panelWidth = 420;

    explicit MenuBarView(const PanelContext &context, QWidget *parent = nullptr);
    ~MenuBarView() override;

    // What "Nookery.focusSearchField" does: empty search, no highlight, cursor in the field.
    void focusSearchField();
    // What the New Folder button and "Nookery.startCreatingFolder" do.
    void startCreatingFolder();
    void setEditingFolders(bool editing);
    void setShowingSettings(bool showing);

    QString searchText() const;
    void setSearchText(const QString &text);
    bool isCreatingFolder() const { return m_isCreatingFolder; }
    bool isEditingFolders() const { return m_isEditingFolders; }
    bool isShowingSettings() const { return m_settings != nullptr; }
    // The stable id of the keyboard-highlighted tab; empty for none.
    QString keyboardHighlightedTabID() const;
    const KeyboardHighlight &keyboardHighlight() const;

    // Runs a pending rebuild at once (tests, benchmarks, before acting on a key).
    void flushRebuild();
    // Re-derives and re-lays out everything now, whether or not anything changed.
    void rebuildNow();
    const PanelSnapshot &snapshot() const { return m_snapshot; }

    PanelHeaderView *header() const { return m_header; }
    SearchFieldView *searchField() const { return m_searchField; }
    // "Edit" outside edit mode, "Done" in it; neither while no folder exists.
    PlainTextButton *editButton() const { return m_editButton; }
    PlainTextButton *doneButton() const { return m_doneButton; }
    PanelFooterView *footer() const { return m_footer; }
    // The one list: the normal list, edit mode or the search results.
    RowListView *list() const { return m_list; }
    // The list while shown; null in the loading and empty states.
    RowListView *visibleList() const;
    QWidget *visibleContent() const;
    SettingsView *settingsView() const { return m_settings; }

signals:
    void preferredHeightChanged();

private:
    QWidget *buildPanelPage();
    QWidget *buildSearchRow();
    void connectStores();
    void scheduleRebuild();
    void rebuild();
    void showContent(ContentState state);
    void updateEditButton();

    void finishCreatingFolder(const QString *typedName);
    // Measured for the width the list paints its rows at.
    const RowHeights &rowHeights();

    PanelContext m_context;
    PanelDerivation m_derivation;
    PanelSnapshot m_snapshot;
    bool m_isCreatingFolder = false;
    bool m_isEditingFolders = false;
    RowHeights m_rowHeights;
    int m_rowHeightsWidth = 0;

    RebuildScheduler *m_scheduler;
    QWidget *m_panelPage = nullptr;
    PanelHeaderView *m_header = nullptr;
    SearchFieldView *m_searchField = nullptr;
    PlainTextButton *m_editButton = nullptr;
    PlainTextButton *m_doneButton = nullptr;
    LoadingStateView *m_loading = nullptr;
    EmptyStateView *m_empty = nullptr;
    RowListView *m_list = nullptr;
    PanelFooterView *m_footer = nullptr;
    QPointer<SettingsView> m_settings;
};
