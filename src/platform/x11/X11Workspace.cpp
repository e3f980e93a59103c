#include "platform/x11/X11Workspace.h"

#include "platform/x11/X11WindowActivator.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace {
constexpr auto deactivationGracePeriod = std::chrono::milliseconds(150);
}

X11Workspace::X11Workspace(QObject *parent)
    : Workspace(parent) {
    m_deactivationGrace.setSingleShot(true);
    m_deactivationGrace.setInterval(deactivationGracePeriod);
    connect(&m_deactivationGrace, &QTimer::timeout, this,
            [this] { setActiveApplication(std::nullopt); });

    const auto *x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    m_connection = x11->connection();
    m_ewmh = std::make_unique<xcb_ewmh_connection_t>();
    xcb_intern_atom_cookie_t *cookies = xcb_ewmh_init_atoms(m_connection, m_ewmh.get());
    if (!xcb_ewmh_init_atoms_replies(m_ewmh.get(), cookies, nullptr)) {
        m_ewmh.reset();
        m_connection = nullptr;
        return;
    }
    m_root = m_ewmh->screens[0]->root;
    watchRootProperties();
    qGuiApp->installNativeEventFilter(this);

    m_clients = readClientList();
    for (const xcb_window_t window : std::as_const(m_clients))
        m_windowClasses.insert(window, readWindowClass(window));
    m_activeWindow = readActiveWindow();
    if (m_activeWindow != XCB_NONE)
        m_activeApplication = applicationOf(m_activeWindow);
}

X11Workspace::~X11Workspace() {
    if (!m_ewmh)
        return;
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
    xcb_ewmh_connection_wipe(m_ewmh.get());
}

bool X11Workspace::openUrl(const QUrl &url) {
    return QDesktopServices::openUrl(url);
}

QList<RunningApplication> X11Workspace::runningApplications() const {
    QList<RunningApplication> applications;
    for (const xcb_window_t window : m_clients) {
        const RunningApplication application = m_windowClasses.value(window);
        if (!applications.contains(application))
            applications.append(application);
    }
    return applications;
}

void X11Workspace::activate(const RunningApplication &application) {
    if (!m_ewmh)
        return;
    xcb_window_t target = XCB_NONE;
    quint64 newestStamp = 0;
    for (const xcb_window_t window : std::as_const(m_clients)) {
        if (m_windowClasses.value(window) != application)
            continue;
        const quint64 stamp = m_activationStamps.value(window);
        if (target == XCB_NONE || stamp >= newestStamp) {
            target = window;
            newestStamp = stamp;
        }
    }
    if (target == XCB_NONE)
        return;
    X11WindowActivator::requestActivation(m_connection, target, m_activeWindow);
}

bool X11Workspace::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto *notify = reinterpret_cast<const xcb_property_notify_event_t *>(event);
    if (notify->window != m_root)
        return false;
    if (notify->atom == m_ewmh->_NET_CLIENT_LIST)
        updateClients();
    else if (notify->atom == m_ewmh->_NET_ACTIVE_WINDOW)
        updateActiveWindow();
    return false;
}

void X11Workspace::watchRootProperties() {
    // Qt selects its own events on the root window; add ours to them.
    xcb_get_window_attributes_reply_t *attributes = xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, m_root), nullptr);
    uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    if (attributes)
        mask |= attributes->your_event_mask;
    free(attributes);
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
}

QList<xcb_window_t> X11Workspace::readClientList() const {
    QList<xcb_window_t> windows;
    xcb_ewmh_get_windows_reply_t reply;
    if (xcb_ewmh_get_client_list_reply(m_ewmh.get(), xcb_ewmh_get_client_list(m_ewmh.get(), 0),
                                       &reply, nullptr)) {
        windows = QList<xcb_window_t>(reply.windows, reply.windows + reply.windows_len);
        xcb_ewmh_get_windows_reply_wipe(&reply);
    }
    return windows;
}

xcb_window_t X11Workspace::readActiveWindow() const {
    xcb_window_t window = XCB_NONE;
    if (!xcb_ewmh_get_active_window_reply(m_ewmh.get(), xcb_ewmh_get_active_window(m_ewmh.get(), 0),
                                          &window, nullptr))
        return XCB_NONE;
    return window;
}

RunningApplication X11Workspace::applicationOf(xcb_window_t window) const {
    const auto cached = m_windowClasses.constFind(window);
    return cached != m_windowClasses.cend() ? *cached : readWindowClass(window);
}

RunningApplication X11Workspace::readWindowClass(xcb_window_t window) const {
    RunningApplication application;
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256),
        nullptr);
    if (!reply)
        return application;
    // Two NUL-terminated strings: the instance name, then the class name.
    const auto *value = static_cast<const char *>(xcb_get_property_value(reply));
    const int length = xcb_get_property_value_length(reply);
    const QList<QByteArray> names = QByteArray(value, length).split('\0');
    application.instanceName = QString::fromLocal8Bit(names.value(0));
    application.className = QString::fromLocal8Bit(names.value(1));
    free(reply);
    return application;
}

void X11Workspace::updateClients() {
    const QList<RunningApplication> before = runningApplications();
    m_clients = readClientList();
    QHash<xcb_window_t, RunningApplication> classes;
    for (const xcb_window_t window : std::as_const(m_clients))
        classes.insert(window, applicationOf(window));
    m_windowClasses = std::move(classes);
    for (auto it = m_activationStamps.begin(); it != m_activationStamps.end();) {
        it = m_windowClasses.contains(it.key()) ? std::next(it) : m_activationStamps.erase(it);
    }
    const QList<RunningApplication> after = runningApplications();

    for (const RunningApplication &application : before) {
        if (after.contains(application))
            continue;
        // An application that quits is not also reported as deactivated.
        if (m_activeApplication == application) {
            m_activeApplication.reset();
            m_deactivationGrace.stop();
        }
        emit applicationTerminated(application);
    }
    for (const RunningApplication &application : after) {
        if (!before.contains(application))
            emit applicationLaunched(application);
    }
}

void X11Workspace::updateActiveWindow() {
    m_activeWindow = readActiveWindow();
    if (m_activeWindow == XCB_NONE) {
        if (m_activeApplication && !m_deactivationGrace.isActive())
            m_deactivationGrace.start();
        return;
    }
    if (m_windowClasses.contains(m_activeWindow))
        m_activationStamps.insert(m_activeWindow, ++m_activationCount);
    setActiveApplication(applicationOf(m_activeWindow));
}

void X11Workspace::setActiveApplication(const std::optional<RunningApplication> &application) {
    m_deactivationGrace.stop();
    if (m_activeApplication == application)
        return;
    const std::optional<RunningApplication> previous =
        std::exchange(m_activeApplication, application);
    if (previous)
        emit applicationDeactivated(*previous);
    if (application)
        emit applicationActivated(*application);
}
