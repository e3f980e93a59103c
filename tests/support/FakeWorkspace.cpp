#include "support/FakeWorkspace.h"

bool FakeWorkspace::openUrl(const QUrl &url) {
    openedUrls.append(url);
    return openSucceeds;
}

void FakeWorkspace::activate(const RunningApplication &application) {
    activated.append(application);
}
