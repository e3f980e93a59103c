#include "platform/xdg/DesktopPortalShortcut.h"

#include "platform/PlatformLogging.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");

// One element of the portal's a(sa{sv}) shortcut lists.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace {

// How the desktop says to press our shortcut, from a shortcut list it sent; none when the list
// does not hold it.
std::optional<QString> triggerDescription(const QVariant &shortcuts) {
    if (!shortcuts.canConvert<QDBusArgument>())
        return std::nullopt;
    QList<PortalShortcut> list;
    shortcuts.value<QDBusArgument>() >> list;
    for (const PortalShortcut &shortcut : std::as_const(list)) {
        if (shortcut.id == QLatin1String(DesktopPortalShortcut::shortcutID))
            return shortcut.properties.value(QStringLiteral("trigger_description")).toString();
    }
    return std::nullopt;
}

// The documentation says an object path; xdg-desktop-portal 1.16 sends a string.
QString pathIn(const QVariant &value) {
    if (value.canConvert<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

QDBusConnection bus() {
    return QDBusConnection::sessionBus();
}

} // namespace

bool DesktopPortalShortcut::isWaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

DesktopPortalShortcut::DesktopPortalShortcut(QObject *parent)
    : GlobalShortcutPortal(parent) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    bus().connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                  SLOT(onActivated(QDBusMessage)));
    bus().connect(portalService, portalPath, shortcutsInterface, QStringLiteral("ShortcutsChanged"),
                  this, SLOT(onShortcutsChanged(QDBusMessage)));
}

DesktopPortalShortcut::~DesktopPortalShortcut() {
    closeSession(m_sessionPath);
}

void DesktopPortalShortcut::bind(const QString &description, const QString &preferredTrigger) {
    m_description = description;
    m_preferredTrigger = preferredTrigger;
    if (m_step == Step::CreatingSession && !m_requestPath.isEmpty())
        m_abandonedRequests.insert(m_requestPath);
    closeSession(m_sessionPath);
    m_sessionPath.clear();
    request(Step::CreatingSession, QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"),
              QStringLiteral("nookery_session%1").arg(m_tokens + 1)}});
}

void DesktopPortalShortcut::bindInSession() {
    QVariantMap properties{{QStringLiteral("description"), m_description}};
    if (!m_preferredTrigger.isEmpty())
        properties.insert(QStringLiteral("preferred_trigger"), m_preferredTrigger);
    const QList<PortalShortcut> shortcuts{{QString::fromLatin1(shortcutID), properties}};
    request(Step::Binding, QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_sessionPath)), QVariant::fromValue(shortcuts),
             QString()},
            {});
}

void DesktopPortalShortcut::request(Step step, const QString &method, QVariantList arguments,
                                    QVariantMap options) {
    m_step = step;
    const QString token = QStringLiteral("nookery%1").arg(++m_tokens);
    options.insert(QStringLiteral("handle_token"), token);
    // The Request object's path is known before the call: the caller's unique name without
    // its colon, dots as underscores, then the token.
    const QString sender = bus().baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString expectedPath = portalPath + QStringLiteral("/request/") + sender + u'/' + token;
    expectResponseAt(expectedPath);

    QDBusMessage call =
        QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
    arguments.append(options);
    call.setArguments(arguments);
    auto *watcher = new QDBusPendingCallWatcher(bus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, expectedPath](QDBusPendingCallWatcher *finished) {
                onRequestCalled(finished, expectedPath);
            });
}

void DesktopPortalShortcut::onRequestCalled(QDBusPendingCallWatcher *call,
                                            const QString &expectedPath) {
    call->deleteLater();
    if (expectedPath != m_requestPath)
        return; // superseded by a newer binding
    const QDBusPendingReply<QDBusObjectPath> reply = *call;
    if (reply.isError())
        return fail();
    // Portals older than the handle_token convention answer on a path of their own.
    if (reply.value().path() != expectedPath)
        expectResponseAt(reply.value().path());
}

void DesktopPortalShortcut::expectResponseAt(const QString &requestPath) {
    if (!m_requestPath.isEmpty() && !m_abandonedRequests.contains(m_requestPath))
        listenForResponse(m_requestPath, false);
    m_requestPath = requestPath;
    if (!requestPath.isEmpty())
        listenForResponse(requestPath, true);
}

void DesktopPortalShortcut::listenForResponse(const QString &requestPath, bool listen) {
    if (listen) {
        bus().connect(portalService, requestPath, requestInterface, QStringLiteral("Response"),
                      this, SLOT(onResponse(QDBusMessage)));
    } else {
        bus().disconnect(portalService, requestPath, requestInterface, QStringLiteral("Response"),
                         this, SLOT(onResponse(QDBusMessage)));
    }
}

void DesktopPortalShortcut::onResponse(const QDBusMessage &message) {
    const QList<QVariant> arguments = message.arguments();
    const uint response = arguments.value(0, 2u).toUInt();
    const QVariantMap results = qdbus_cast<QVariantMap>(arguments.value(1));
    if (m_abandonedRequests.remove(message.path())) {
        listenForResponse(message.path(), false);
        if (response == 0)
            closeSession(pathIn(results.value(QStringLiteral("session_handle"))));
        return;
    }
    if (message.path() != m_requestPath)
        return;
    expectResponseAt({});
    qCDebug(lcHotkey) << "portal answered" << response << results;
    if (response != 0)
        return fail();
    if (m_step == Step::CreatingSession) {
        m_sessionPath = pathIn(results.value(QStringLiteral("session_handle")));
        if (m_sessionPath.isEmpty())
            return fail();
        bindInSession();
    } else if (m_step == Step::Binding) {
        m_step = Step::Idle;
        emit bound(
            triggerDescription(results.value(QStringLiteral("shortcuts"))).value_or(QString()));
    }
}

void DesktopPortalShortcut::onActivated(const QDBusMessage &message) {
    const QList<QVariant> arguments = message.arguments();
    if (!m_sessionPath.isEmpty() && pathIn(arguments.value(0)) == m_sessionPath &&
        arguments.value(1).toString() == QLatin1String(shortcutID))
        emit activated();
}

void DesktopPortalShortcut::onShortcutsChanged(const QDBusMessage &message) {
    const QList<QVariant> arguments = message.arguments();
    if (m_sessionPath.isEmpty() || pathIn(arguments.value(0)) != m_sessionPath)
        return;
    if (const auto trigger = triggerDescription(arguments.value(1)))
        emit bound(*trigger);
    else
        emit removed();
}

void DesktopPortalShortcut::closeSession(const QString &sessionPath) {
    if (sessionPath.isEmpty())
        return;
    bus().send(QDBusMessage::createMethodCall(portalService, sessionPath, sessionInterface,
                                              QStringLiteral("Close")));
}

void DesktopPortalShortcut::fail() {
    qCDebug(lcHotkey) << "the desktop portal does not bind the shortcut";
    m_step = Step::Idle;
    closeSession(m_sessionPath);
    m_sessionPath.clear();
    emit unavailable();
}
