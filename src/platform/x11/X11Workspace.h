#pragma once

#include "platform/Workspace.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QTimer>
#include <memory>
#include <optional>

#include <xcb/xcb_ewmh.h>

// The desktop's applications under an EWMH window manager. An application is the set of client
// windows sharing one WM_CLASS; it launches with its first window, terminates with its last,
// and is active while _NET_ACTIVE_WINDOW is one of its windows. URLs go through xdg-open.
class X11Workspace : public Workspace, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit X11Workspace(QObject *parent = nullptr);
    ~X11Workspace() override;

    bool openUrl(const QUrl &url) override;
    QList<RunningApplication> runningApplications() const override;
    void activate(const RunningApplication &application) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void watchRootProperties();
    QList<xcb_window_t> readClientList() const;
    xcb_window_t readActiveWindow() const;
    RunningApplication readWindowClass(xcb_window_t window) const;
    // From the cache while the window is a client, else read now.
    RunningApplication applicationOf(xcb_window_t window) const;
    void updateClients();
    void updateActiveWindow();
    void setActiveApplication(const std::optional<RunningApplication> &application);

    xcb_connection_t *m_connection = nullptr;
    std::unique_ptr<xcb_ewmh_connection_t> m_ewmh;
    xcb_window_t m_root = XCB_NONE;
    QList<xcb_window_t> m_clients; // in the window manager's order
    // A window's class cannot be read once it is gone, so it is kept from its first sight.
    QHash<xcb_window_t, RunningApplication> m_windowClasses;
    QHash<xcb_window_t, quint64> m_activationStamps;
    quint64 m_activationCount = 0;
    xcb_window_t m_activeWindow = XCB_NONE;
    std::optional<RunningApplication> m_activeApplication;
    // openbox clears _NET_ACTIVE_WINDOW for a moment between two windows; a deactivation is
    // reported only when no window became active during this grace period.
    QTimer m_deactivationGrace;
};
