#pragma once

#include "panel/model/PanelSnapshot.h"
#include "panel/model/TabSearch.h"

class FolderStore;

// Reads the stores' current values and derives one PanelSnapshot.
class PanelDerivation {
public:
    struct Inputs {
        const QList<TabItem> &tabs;
        bool isLoading;
        const FolderStore &folderStore;
        QList<ClosedTab> recentTabs;
        QString searchText;
    };

    PanelSnapshot derive(const Inputs &inputs) const;

private:
    TabSearch m_search;
};
