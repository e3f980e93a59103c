#pragma once

#include "platform/GlobalShortcutPortal.h"

#include <QSet>
#include <QString>

class QDBusMessage;
Q_MOC_INCLUDE(<QDBusMessage>)
class QDBusPendingCallWatcher;

// The GlobalShortcuts interface of org.freedesktop.portal.Desktop. Binding opens a fresh
// session (a session binds only once) and closes the previous one, also one still being
// created: CreateSession, then BindShortcuts, each answered by the Response signal of its Request
// object. The desktop's ShortcutsChanged is followed: a new trigger, or the shortcut removed.
class DesktopPortalShortcut : public GlobalShortcutPortal {
    Q_OBJECT
public:
    static constexpr const char *shortcutID = "open-nookery";

    // True in a Wayland session, where only the desktop can hear keys pressed in other
    // programs' windows.
    static bool isWaylandSession();

    // On the session bus.
    explicit DesktopPortalShortcut(QObject *parent = nullptr);
    ~DesktopPortalShortcut() override;

    void bind(const QString &description, const QString &preferredTrigger) override;

private slots:
    void onResponse(const QDBusMessage &message);
    void onActivated(const QDBusMessage &message);
    void onShortcutsChanged(const QDBusMessage &message);

private:
    enum class Step { Idle, CreatingSession, Binding };

    // Calls `method` with a fresh handle_token in `options`, listening for the Response first
    // so that a quick answer is not missed.
    void request(Step step, const QString &method, QVariantList arguments, QVariantMap options);
    void expectResponseAt(const QString &requestPath);
    void listenForResponse(const QString &requestPath, bool listen);
    void onRequestCalled(QDBusPendingCallWatcher *call, const QString &expectedPath);
    void bindInSession();
    void closeSession(const QString &sessionPath);
    void fail();

    QString m_description;
    QString m_preferredTrigger;
    Step m_step = Step::Idle;
    QString m_requestPath;
    QString m_sessionPath;
    // CreateSession requests superseded before their answer: the sessions they create are
    // closed when it comes.
    QSet<QString> m_abandonedRequests;
    int m_tokens = 0;
};
