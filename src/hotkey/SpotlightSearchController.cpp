#include "hotkey/SpotlightSearchController.h"

#include "hotkey/KeyCodeTable.h"
#include "hotkey/PortalTrigger.h"
#include "platform/GlobalKeyGrabber.h"

#include <QPointer>

namespace {

QPointer<SpotlightSearchController> published;

// Often enough that the shortcut works soon after the other program lets the chord go; one X
// round trip each time, and only while it holds it.
constexpr int retryGrabMs = 10000;

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
    m_retryGrab.setInterval(retryGrabMs);
    connect(&m_retryGrab, &QTimer::timeout, this, &SpotlightSearchController::registerBinding);
    if (m_grabber) {
        connect(m_grabber.get(), &GlobalKeyGrabber::lost, this, [this] {
            m_registered = false;
            m_grabRefused = true;
            m_retryGrab.start();
            emit statusChanged();
        });
    }
    if (!m_portal)
        return;
    connect(m_portal.get(), &GlobalShortcutPortal::bound, this,
            [this](const QString &trigger) { setPortalState(PortalState::Bound, trigger); });
    connect(m_portal.get(), &GlobalShortcutPortal::unavailable, this,
            [this] { setPortalState(PortalState::Refused); });
    connect(m_portal.get(), &GlobalShortcutPortal::removed, this,
            [this] { setPortalState(PortalState::Removed); });
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

SpotlightSearchController::Status SpotlightSearchController::status() const {
    if (m_portalState == PortalState::Bound)
        return Status::Desktop;
    if (m_grabber) {
        if (!KeyCodeTable::evdevFromMac(m_binding.keyCode))
            return Status::KeyNotOnKeyboard;
        if (m_grabRefused)
            return Status::KeyTaken;
        if (m_portalState == PortalState::Refused || m_portalState == PortalState::Removed)
            return Status::X11WindowsOnly;
        return Status::KeyGrab;
    }
    switch (m_portalState) {
    case PortalState::Asking:
        return Status::AskingDesktop;
    case PortalState::Removed:
        return Status::DesktopRemoved;
    case PortalState::Absent:
    case PortalState::Refused:
    case PortalState::Bound:
        break;
    }
    return Status::DesktopDeclined;
}

bool SpotlightSearchController::isDead() const {
    switch (status()) {
    case Status::KeyGrab:
    case Status::Desktop:
    case Status::AskingDesktop:
    case Status::X11WindowsOnly:
        return false;
    case Status::KeyTaken:
    case Status::KeyNotOnKeyboard:
    case Status::DesktopDeclined:
    case Status::DesktopRemoved:
        break;
    }
    return true;
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
    if (m_configured) {
        bindInPortal();
        registerBinding();
    }
    emit statusChanged();
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
    emit statusChanged();
}

void SpotlightSearchController::registerBinding() {
    m_registered = false;
    m_retryGrab.stop();
    if (!m_grabber)
        return;
    m_grabber->release();
    if (m_paused)
        return;
    const bool wasRefused = m_grabRefused;
    m_grabRefused = false;
    if (m_portalState != PortalState::Bound) {
        if (const auto evdev = KeyCodeTable::evdevFromMac(m_binding.keyCode)) {
            m_registered = m_grabber->grab(*evdev, qtModifiers(m_binding.modifiers));
            m_grabRefused = !m_registered;
        }
    }
    if (m_grabRefused)
        m_retryGrab.start();
    if (m_grabRefused != wasRefused)
        emit statusChanged();
}
