#pragma once

#include <QObject>

// The two application-wide requests to the panel: the shell asks for the search field after
// showing the panel, the ungrouped section's prompt asks to begin creating a folder.
class AppNotifications : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void focusSearchField();
    void startCreatingFolder();
};
