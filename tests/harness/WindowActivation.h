#pragma once

#include <QProcess>
#include <QTest>
#include <QWindow>

// Makes a test's window the active one as a pager would ask, so openbox's focus-stealing
// prevention cannot refuse it the way it may refuse a window's own request. Asks again while
// the window manager has not taken the new window on yet.
inline bool activateWindow(QWindow &window) {
    if (!window.isVisible()) {
        window.resize(200, 100);
        window.show();
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
        QProcess::execute("xdotool", {"windowactivate", QString::number(window.winId())});
        if (QTest::qWaitForWindowActive(&window, 250))
            return true;
    }
    return false;
}
