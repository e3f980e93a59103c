#pragma once

#include "hotkey/HotkeyBinding.h"
#include "platform/GlobalKeyGrabber.h"

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

    // The process-wide instance, created on first use (after the QGuiApplication) with the
    // desktop's key grabber; without one (Wayland, offscreen) the shortcut simply does nothing.
    static SpotlightSearchController *shared();

    // `grabber` may be null. The binding is loaded from the settings.
    explicit SpotlightSearchController(std::unique_ptr<GlobalKeyGrabber> grabber,
                                       QObject *parent = nullptr);
    ~SpotlightSearchController() override;

    HotkeyBinding binding() const { return m_binding; }
    // True while the desktop holds the current binding for us.
    bool isRegistered() const { return m_registered; }

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
    void hotKeyPressed();

private:
    void registerBinding();

    std::unique_ptr<GlobalKeyGrabber> m_grabber;
    HotkeyBinding m_binding;
    bool m_configured = false;
    bool m_registered = false;
    bool m_paused = false;
};
