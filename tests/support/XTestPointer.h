#pragma once

#include <QPoint>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>

// A hand on the mouse of the test's X display: moves and buttons go through the X server, which
// routes them between windows and widgets as it routes a real pointer's.
class XTestPointer {
public:
    static constexpr int left = 1;
    static constexpr int right = 3;

    XTestPointer()
        : m_connection(xcb_connect(nullptr, nullptr)) {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~XTestPointer() { xcb_disconnect(m_connection); }
    XTestPointer(const XTestPointer &) = delete;
    XTestPointer &operator=(const XTestPointer &) = delete;

    void moveTo(const QPoint &global) { send(XCB_MOTION_NOTIFY, 0, global); }
    void press(int button) { send(XCB_BUTTON_PRESS, uint8_t(button), {}); }
    void release(int button) { send(XCB_BUTTON_RELEASE, uint8_t(button), {}); }

private:
    // Returns once the server has taken the event.
    void send(uint8_t type, uint8_t detail, const QPoint &at) {
        xcb_test_fake_input(m_connection, type, detail, XCB_CURRENT_TIME, m_root, int16_t(at.x()),
                            int16_t(at.y()), 0);
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};
