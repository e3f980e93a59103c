#pragma once

#include "hotkey/HotkeyBinding.h"
#include "platform/GlobalKeyGrabber.h"
#include "platform/GlobalShortcutPortal.h"

#include <QObject>
#include <memory>

// Makes the saved shortcut work system-wide and holds it for the views that show it.
// `hotKeyPressed` is emitted one event-loop turn after the shortcut was pressed; the shell
// connects it to the tray icon's click.
class SpotlightSearchController : public QObject {
    Q_OBJECT
public:
    static constexpr const char *keyCodeKey = hotkeyKeyCodeKey;
    static constexpr const char *modifiersKey = hotkeyModifiersKey;

    // Who makes the shortcut work in this session.
    enum class Handler {
        KeyGrab, // our own grab on the X server
        Desktop, // the desktop, through its portal
        Nobody,  // Wayland without a portal: the grab hears X11 windows only
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
    Handler handler() const;
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
    // `handler()` or `shortcutText()` changed.
    void handlerChanged();
    void hotKeyPressed();

private:
    enum class PortalState { Absent, Asking, Bound, Refused };

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
    bool m_paused = false;
};
