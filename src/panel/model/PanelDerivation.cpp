#include "panel/model/PanelDerivation.h"

#include "stores/FolderStore.h"

namespace {

ContentState contentState(const PanelDerivation::Inputs &inputs) {
    if (inputs.tabs.isEmpty() && inputs.isLoading)
        return ContentState::Loading;
    if (inputs.tabs.isEmpty() && inputs.recentTabs.isEmpty())
        return ContentState::Empty;
    return inputs.searchText.isEmpty() ? ContentState::NormalList : ContentState::SearchResults;
}

} // namespace

PanelSnapshot PanelDerivation::derive(const Inputs &inputs) const {
    PanelSnapshot snapshot;
    snapshot.searchText = inputs.searchText;
    snapshot.tabCount = inputs.tabs.size();
    snapshot.contentState = contentState(inputs);
    snapshot.recentTabs = inputs.recentTabs;

    const QList<TabFolder> &folders = inputs.folderStore.folders();
    snapshot.folders.reserve(folders.size());
    for (const TabFolder &folder : folders)
        snapshot.folders.append({folder, inputs.folderStore.tabsInFolder(folder, inputs.tabs)});
    snapshot.ungroupedTabs = inputs.folderStore.ungroupedTabs(inputs.tabs);

    if (snapshot.isSearching()) {
        snapshot.searchResults = m_search.results(inputs.tabs, inputs.searchText);
        snapshot.navigableTabs = snapshot.searchResults;
    } else {
        for (const FolderContent &content : std::as_const(snapshot.folders)) {
            if (content.folder.isExpanded)
                snapshot.navigableTabs += content.tabs;
        }
        snapshot.navigableTabs += snapshot.ungroupedTabs;
    }
    return snapshot;
}
