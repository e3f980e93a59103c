#pragma once

#include "platform/Workspace.h"

// In-memory workspace for tests: records what was opened and activated; tests emit the signals.
class FakeWorkspace : public Workspace {
public:
    bool openUrl(const QUrl &url) override {
        openedUrls.append(url);
        return true;
    }
    QList<RunningApplication> runningApplications() const override { return running; }
    void activate(const RunningApplication &application) override { activated.append(application); }

    QList<RunningApplication> running;
    QList<QUrl> openedUrls;
    QList<RunningApplication> activated;
};
