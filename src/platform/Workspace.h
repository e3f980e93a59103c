#pragma once

#include "platform/RunningApplication.h"

#include <QList>
#include <QObject>
#include <QUrl>

// The desktop's applications: opening URLs, the running applications and their activity.
class Workspace : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Workspace() override;

    // Hands `url` to the application registered for its scheme.
    virtual bool openUrl(const QUrl &url) = 0;
    // In the order the desktop gives them.
    virtual QList<RunningApplication> runningApplications() const = 0;
    // Brings the application's most recently used window to the front.
    virtual void activate(const RunningApplication &application) = 0;

signals:
    void applicationLaunched(const RunningApplication &application);
    void applicationTerminated(const RunningApplication &application);
    void applicationActivated(const RunningApplication &application);
    void applicationDeactivated(const RunningApplication &application);
};
