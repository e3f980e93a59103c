#pragma once

#include <xcb/xcb.h>

class QWindow;

// Brings one of our windows to the front with the keyboard. The request goes to the window
// manager as a pager sends it (source indication 2), which focus-stealing prevention honours
// even when the user last typed into another application.
class X11WindowActivator {
public:
    // Does nothing outside X11 or for a window that has no native window yet.
    static void activate(QWindow *window);
    // The same request for any client window; `currentlyActive` is the window giving way.
    static void requestActivation(xcb_connection_t *connection, xcb_window_t window,
                                  xcb_window_t currentlyActive = XCB_NONE);
};
