#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <QPoint>
#include <cstdlib>
#include <memory>

// A real pointer and keyboard on the test's X display, through XTest: the server routes the
// events exactly as a user's, grabs, focus and the window under the pointer included.
class XTestInput {
public:
    XTestInput()
        : m_connection(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(m_connection))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_symbols = xcb_key_symbols_alloc(m_connection);
    }
    ~XTestInput() {
        if (m_symbols)
            xcb_key_symbols_free(m_symbols);
        xcb_disconnect(m_connection);
    }
    XTestInput(const XTestInput &) = delete;
    XTestInput &operator=(const XTestInput &) = delete;

    bool connected() const { return m_symbols != nullptr; }

    void moveTo(QPoint point) {
        send(XCB_MOTION_NOTIFY, 0, point);
        m_pointer = point;
    }
    QPoint pointer() const { return m_pointer; }
    // Buttons 1 to 3, and 4 and 5 for the wheel's notches up and down.
    void button(int button, bool down) {
        send(down ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, button);
    }
    // A key by its keysym (X11/keysymdef.h); false when the keyboard has none.
    bool key(xcb_keysym_t keysym, bool down) {
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(m_symbols, keysym);
        const xcb_keycode_t code = codes ? codes[0] : XCB_NO_SYMBOL;
        std::free(codes);
        if (code != XCB_NO_SYMBOL)
            send(down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code);
        return code != XCB_NO_SYMBOL;
    }
    // Another client holds the keyboard (a menu open): no shortcut reaches any program.
    bool keyboardGrabbed() {
        std::unique_ptr<xcb_grab_keyboard_reply_t, decltype(&std::free)> reply(
            xcb_grab_keyboard_reply(m_connection,
                                    xcb_grab_keyboard(m_connection, 0, m_root, XCB_CURRENT_TIME,
                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                    nullptr),
            &std::free);
        if (reply && reply->status == XCB_GRAB_STATUS_SUCCESS)
            xcb_ungrab_keyboard(m_connection, XCB_CURRENT_TIME);
        sync();
        return reply && reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED;
    }
    // Returns once the server has handled every event sent before.
    void sync() {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

private:
    void send(uint8_t type, int detail, QPoint at = {}) {
        xcb_test_fake_input(m_connection, type, uint8_t(detail), XCB_CURRENT_TIME, m_root,
                            int16_t(at.x()), int16_t(at.y()), 0);
        sync();
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = XCB_NONE;
    xcb_key_symbols_t *m_symbols = nullptr;
    QPoint m_pointer;
};
