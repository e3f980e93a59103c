#pragma once

#include <QApplication>
#include <QWidget>

// The visible top-level windows of one class, once pending events (showing, deleting) are done.
template <typename Window> QList<Window *> visibleWindows() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QList<Window *> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget); window && window->isVisible())
            windows.append(window);
    }
    return windows;
}
