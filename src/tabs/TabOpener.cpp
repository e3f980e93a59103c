#include "tabs/TabOpener.h"

#include "platform/Workspace.h"
#include "tabs/FigmaApplication.h"

TabOpener::TabOpener(Workspace &workspace)
    : m_workspace(workspace) {
}

bool TabOpener::open(const TabItem &tab) const {
    const QUrl url = figmaUrl(tab);
    if (url.isEmpty()) {
        activateFigma();
        return false;
    }
    m_workspace.openUrl(url);
    return true;
}

QUrl TabOpener::figmaUrl(const TabItem &tab) {
    if (tab.url.isEmpty())
        return {};
    const QUrl webUrl(tab.url, QUrl::StrictMode);
    if (!webUrl.isValid())
        return {};
    // The decoded path is set as decoded text, so a "?" or "#" it contains stays part of the
    // path (re-encoded) instead of starting a query or fragment.
    QUrl url;
    url.setScheme(QStringLiteral("figma"));
    url.setAuthority(QStringLiteral(""));
    url.setPath(webUrl.path(QUrl::FullyDecoded), QUrl::DecodedMode);
    return url.isValid() ? url : QUrl();
}

void TabOpener::activateFigma() const {
    for (const RunningApplication &application : m_workspace.runningApplications()) {
        if (isFigma(application)) {
            m_workspace.activate(application);
            return;
        }
    }
}
