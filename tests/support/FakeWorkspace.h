#pragma once

#include "platform/Workspace.h"

// In-memory workspace for tests: records what was opened and activated; tests emit the signals.
class FakeWorkspace : public Workspace {
    Q_OBJECT
public:
    using Workspace::Workspace;

    bool openUrl(const QUrl &url) override;
    QList<RunningApplication> runningApplications() const override { return running; }
    void activate(const RunningApplication &application) override;

    QList<RunningApplication> running;
    bool openSucceeds = true;
    QList<QUrl> openedUrls;
    QList<RunningApplication> activated;
};
