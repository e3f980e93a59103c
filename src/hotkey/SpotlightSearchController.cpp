#include "hotkey/SpotlightSearchController.h"

#include "hotkey/KeyCodeTable.h"
#include "platform/GlobalKeyGrabber.h"
#include "platform/x11/X11KeyGrabber.h"

#include <QCoreApplication>
#include <QPointer>

SpotlightSearchController *SpotlightSearchController::shared() {
    static QPointer<SpotlightSearchController> instance;
    if (!instance)
        instance = new SpotlightSearchController(X11KeyGrabber::create(), qApp);
    return instance;
}

SpotlightSearchController::SpotlightSearchController(std::unique_ptr<GlobalKeyGrabber> grabber,
                                                     QObject *parent)
    : QObject(parent)
    , m_grabber(std::move(grabber))
    , m_binding(loadBinding()) {
}

SpotlightSearchController::~SpotlightSearchController() = default;

void SpotlightSearchController::configure() {
    if (m_grabber && !m_configured) {
        // Queued, so the shell's click handling never runs inside the event filter.
        connect(m_grabber.get(), &GlobalKeyGrabber::activated, this,
                &SpotlightSearchController::hotKeyPressed, Qt::QueuedConnection);
    }
    m_configured = true;
    registerBinding();
}

void SpotlightSearchController::setBinding(const HotkeyBinding &binding) {
    const bool changed = binding != m_binding;
    m_binding = binding;
    saveBinding(binding);
    if (changed)
        emit bindingChanged(m_binding);
    if (m_configured)
        registerBinding();
}

void SpotlightSearchController::setPaused(bool paused) {
    if (m_paused == paused)
        return;
    m_paused = paused;
    if (m_configured)
        registerBinding();
}

void SpotlightSearchController::registerBinding() {
    m_registered = false;
    if (!m_grabber)
        return;
    m_grabber->release();
    if (m_paused)
        return;
    if (const auto evdev = KeyCodeTable::evdevFromMac(m_binding.keyCode))
        m_registered = m_grabber->grab(*evdev, qtModifiers(m_binding.modifiers));
}
