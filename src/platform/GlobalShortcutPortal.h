#pragma once

#include <QObject>
#include <QString>

// A shortcut the desktop itself holds for us (the XDG desktop portal on Wayland): the desktop
// owns the key, may let the user choose another, and tells us when it is pressed. Every answer
// comes later, as a signal.
class GlobalShortcutPortal : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~GlobalShortcutPortal() override;

    // Asks for the one shortcut in place of whatever was bound before. `preferredTrigger` is in
    // the XDG shortcuts syntax ("ALT+space"); the desktop may choose differently.
    virtual void bind(const QString &description, const QString &preferredTrigger) = 0;

signals:
    // The desktop holds the shortcut; `triggerDescription` says, in its words, how to press it
    // (empty when it did not say). Emitted again when the user changes it in the desktop.
    void bound(const QString &triggerDescription);
    // No portal, a portal without global shortcuts, or the desktop (or the user) declined.
    void unavailable();
    // The desktop held the shortcut, and the user took it away in the desktop's settings.
    void removed();
    void activated();
};
