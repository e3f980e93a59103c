#include "hotkey/SpotlightSearchController.h"

#include "hotkey/KeyCodeTable.h"
#include "hotkey/PortalTrigger.h"
#include "platform/GlobalKeyGrabber.h"

#include <QPointer>

namespace {

QPointer<SpotlightSearchController> published;

} // namespace

SpotlightSearchController *SpotlightSearchController::shared() {
    return published.data();
}

void SpotlightSearchController::publish() {
    published = this;
}

SpotlightSearchController::SpotlightSearchController(std::unique_ptr<GlobalKeyGrabber> grabber,
                                                     std::unique_ptr<GlobalShortcutPortal> portal,
                                                     QObject *parent)
    : QObject(parent)
    , m_grabber(std::move(grabber))
    , m_portal(std::move(portal))
    , m_binding(loadBinding()) {
    if (!m_portal)
        return;
    connect(m_portal.get(), &GlobalShortcutPortal::bound, this,
            [this](const QString &trigger) { setPortalState(PortalState::Bound, trigger); });
    connect(m_portal.get(), &GlobalShortcutPortal::unavailable, this,
            [this] { setPortalState(PortalState::Refused); });
    // Queued like the grab's; while the recorder listens, the press is the recorder's.
    connect(
        m_portal.get(), &GlobalShortcutPortal::activated, this,
        [this] {
            if (!m_paused)
                emit hotKeyPressed();
        },
        Qt::QueuedConnection);
}

SpotlightSearchController::~SpotlightSearchController() = default;

void SpotlightSearchController::configure() {
    if (m_grabber && !m_configured) {
        // Queued, so the shell's click handling never runs inside the event filter.
        connect(m_grabber.get(), &GlobalKeyGrabber::activated, this,
                &SpotlightSearchController::hotKeyPressed, Qt::QueuedConnection);
    }
    m_configured = true;
    bindInPortal();
    registerBinding();
}

SpotlightSearchController::Handler SpotlightSearchController::handler() const {
    switch (m_portalState) {
    case PortalState::Bound:
        return Handler::Desktop;
    case PortalState::Refused:
        return Handler::Nobody;
    case PortalState::Absent:
    case PortalState::Asking:
        break;
    }
    return Handler::KeyGrab;
}

QString SpotlightSearchController::shortcutText() const {
    if (m_portalState == PortalState::Bound && !m_portalTrigger.isEmpty())
        return m_portalTrigger;
    return displayString(m_binding);
}

void SpotlightSearchController::setBinding(const HotkeyBinding &binding) {
    const bool changed = binding != m_binding;
    m_binding = binding;
    saveBinding(binding);
    if (changed)
        emit bindingChanged(m_binding);
    if (!m_configured)
        return;
    bindInPortal();
    registerBinding();
}

void SpotlightSearchController::setPaused(bool paused) {
    if (m_paused == paused)
        return;
    m_paused = paused;
    if (m_configured)
        registerBinding();
}

void SpotlightSearchController::bindInPortal() {
    if (!m_portal)
        return;
    setPortalState(PortalState::Asking);
    m_portal->bind(QStringLiteral("Open Nookery"), portalTrigger(m_binding));
}

void SpotlightSearchController::setPortalState(PortalState state,
                                               const QString &triggerDescription) {
    if (state == m_portalState && triggerDescription == m_portalTrigger)
        return;
    const bool boundChanged =
        (state == PortalState::Bound) != (m_portalState == PortalState::Bound);
    m_portalState = state;
    m_portalTrigger = triggerDescription;
    // Both at once would toggle the panel twice for one press in an X11 window.
    if (boundChanged && m_configured)
        registerBinding();
    emit handlerChanged();
}

void SpotlightSearchController::registerBinding() {
    m_registered = false;
    if (!m_grabber)
        return;
    m_grabber->release();
    if (m_paused || m_portalState == PortalState::Bound)
        return;
    if (const auto evdev = KeyCodeTable::evdevFromMac(m_binding.keyCode))
        m_registered = m_grabber->grab(*evdev, qtModifiers(m_binding.modifiers));
}
