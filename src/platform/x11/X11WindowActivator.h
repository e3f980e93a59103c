#pragma once

class QWindow;

// Brings one of our windows to the front with the keyboard. The request goes to the window
// manager as a pager sends it (source indication 2), which focus-stealing prevention honours
// even when the user last typed into another application.
class X11WindowActivator {
public:
    // Does nothing outside X11 or for a window that has no native window yet.
    static void activate(QWindow *window);
};
