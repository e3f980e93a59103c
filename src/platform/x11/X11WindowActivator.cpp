#include "platform/x11/X11WindowActivator.h"

#include <QGuiApplication>
#include <QWindow>

#include <cstring>

namespace {

constexpr uint32_t sourceIndicationPager = 2;

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

} // namespace

void X11WindowActivator::activate(QWindow *window) {
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // The offscreen platform answers to the X11 interface too, without a connection.
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window || !window->handle())
        return;
    requestActivation(connection, xcb_window_t(window->winId()));
}

void X11WindowActivator::requestActivation(xcb_connection_t *connection, xcb_window_t window,
                                           xcb_window_t currentlyActive) {
    static const xcb_atom_t activeWindow = internAtom(connection, "_NET_ACTIVE_WINDOW");
    if (activeWindow == XCB_ATOM_NONE)
        return;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;

    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = activeWindow;
    message.data.data32[0] = sourceIndicationPager;
    message.data.data32[1] = XCB_CURRENT_TIME;
    message.data.data32[2] = currentlyActive;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
}
