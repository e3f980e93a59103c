#pragma once

#include "hotkey/HotkeyBinding.h"
#include "platform/GlobalKeyGrabber.h"
#include "platform/GlobalShortcutPortal.h"

#include <QObject>
#include <QTimer>
#include <memory>

// Makes the saved shortcut work system-wide and holds it for the views that show it, with what
// makes it work or why nothing does. A grab another program refuses is tried again every ten
// seconds while it lasts. `hotKeyPressed` is emitted one event-loop turn after the shortcut was
// pressed; the shell connects it to the tray icon's click.
class SpotlightSearchController : public QObject {
    Q_OBJECT
public:
    static constexpr const char *keyCodeKey = hotkeyKeyCodeKey;
    static constexpr const char *modifiersKey = hotkeyModifiersKey;

    // Who makes the shortcut work in this session, or why nothing does.
    enum class Status {
        KeyGrab,        // our own grab on the X server
        Desktop,        // the desktop, through its portal
        AskingDesktop,  // the desktop has not answered yet, and there is no grab meanwhile
        X11WindowsOnly, // the desktop declined; our grab hears X11 windows only
        // Dead: pressing the shortcut does nothing.
        KeyTaken,         // another program holds the chord
        KeyNotOnKeyboard, // the key has no place on Linux keyboards
        DesktopDeclined,  // no X11, and the desktop did not bind it
        DesktopRemoved,   // no X11, and the desktop's settings dropped it
    };

    // The controller the program runs with (the app creates it with the desktop's key grabber
    // and portal, and publishes it); null before that and once it is gone.
    static SpotlightSearchController *shared();
    void publish();

    // `grabber` and `portal` may be null. The binding is loaded from the settings. With a
    // portal, the desktop is asked first and the grab serves only until it has answered.
    explicit SpotlightSearchController(std::unique_ptr<GlobalKeyGrabber> grabber,
                                       std::unique_ptr<GlobalShortcutPortal> portal = nullptr,
                                       QObject *parent = nullptr);
    ~SpotlightSearchController() override;

    HotkeyBinding binding() const { return m_binding; }
    // True while the X server or the desktop holds the current binding for us.
    bool isRegistered() const { return m_registered || m_portalState == PortalState::Bound; }
    Status status() const;
    // True when pressing the shortcut does nothing anywhere.
    bool isDead() const;
    // The shortcut as the user presses it: the desktop's own words when it holds the shortcut
    // (it may have chosen another key), else the binding's display string.
    QString shortcutText() const;

    // Listens for the shortcut and registers the current binding. Call once after start-up.
    void configure();
    // Saves the binding (always, even unchanged) and registers it in place of the old one.
    void setBinding(const HotkeyBinding &binding);
    // While the recorder listens, the shortcut is let go so that pressing it is recorded
    // instead of toggling the panel; it is registered again when the recording ends.
    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }

signals:
    void bindingChanged(const HotkeyBinding &binding);
    // `status()` or `shortcutText()` may have changed.
    void statusChanged();
    void hotKeyPressed();

private:
    enum class PortalState { Absent, Asking, Bound, Refused, Removed };

    void registerBinding();
    void bindInPortal();
    void setPortalState(PortalState state, const QString &triggerDescription = {});

    std::unique_ptr<GlobalKeyGrabber> m_grabber;
    std::unique_ptr<GlobalShortcutPortal> m_portal;
    PortalState m_portalState = PortalState::Absent;
    QString m_portalTrigger;
    HotkeyBinding m_binding;
    bool m_configured = false;
    bool m_registered = false;
    // The last grab was refused; kept while paused, when nothing is grabbed on purpose.
    bool m_grabRefused = false;
    bool m_paused = false;
    // While another program holds the chord, the grab is tried again now and then.
    QTimer m_retryGrab;
};
