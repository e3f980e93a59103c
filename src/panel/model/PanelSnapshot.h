#pragma once

#include "panel/model/KeyboardHighlight.h"
#include "stores/ClosedTab.h"
#include "stores/TabFolder.h"
#include "tabs/TabItem.h"

#include <QList>
#include <QString>

// What the content area shows, decided in this order: loading with no tabs yet, nothing at all to
// show, the search results while a query is typed, the normal list.
enum class ContentState { Loading, Empty, SearchResults, NormalList };

// What Return in the search field does.
enum class ReturnOutcome { CreateFolderFromSearch, OpenTab, Nothing };

struct FolderContent {
    TabFolder folder;
    QList<TabItem> tabs; // the folder's open tabs, in folder order

    friend bool operator==(const FolderContent &, const FolderContent &) = default;
};

// Everything the panel derives from the stores and its search text on one rebuild.
struct PanelSnapshot {
    QString searchText;
    qsizetype tabCount = 0;
    ContentState contentState = ContentState::Empty;
    QList<FolderContent> folders;
    QList<TabItem> ungroupedTabs;
    QList<ClosedTab> recentTabs;
    QList<TabItem> searchResults; // computed in search mode only
    // The tabs the arrow keys reach: the results while searching, otherwise the tabs of expanded
    // folders followed by the ungrouped tabs.
    QList<TabItem> navigableTabs;

    bool isSearching() const { return !searchText.isEmpty(); }
    ReturnOutcome returnOutcome() const;
};
