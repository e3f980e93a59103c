#include "panel/model/PanelSnapshot.h"

ReturnOutcome PanelSnapshot::returnOutcome() const {
    if (isSearching() && searchResults.isEmpty())
        return ReturnOutcome::CreateFolderFromSearch;
    return navigableTabs.isEmpty() ? ReturnOutcome::Nothing : ReturnOutcome::OpenTab;
}
