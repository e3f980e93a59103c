#pragma once

#include "tabs/TabItem.h"

#include <QString>
#include <QUrl>

class Workspace;

// Switches Figma to a tab by handing the desktop a "figma" URL built from the tab's path.
class TabOpener {
public:
    explicit TabOpener(Workspace &workspace);

    // Opens the tab's "figma" URL and returns true; when the tab has no usable URL, brings a
    // running Figma to the front instead and returns false.
    bool open(const TabItem &tab) const;

    // "figma://" followed by the decoded path of the tab's URL; empty when there is none.
    static QUrl figmaUrl(const TabItem &tab);

private:
    void activateFigma() const;

    Workspace &m_workspace;
};
