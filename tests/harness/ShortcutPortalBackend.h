#pragma once

// A desktop for the real xdg-desktop-portal frontend: a test backend of
// org.freedesktop.impl.portal.GlobalShortcuts on its own connection to the test's private session
// bus, and the frontend itself, started so that it picks this backend. The desktop "presses" a
// shortcut by emitting Activated, as a compositor would.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

struct DesktopShortcutEntry {
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(DesktopShortcutEntry)

inline QDBusArgument &operator<<(QDBusArgument &argument, const DesktopShortcutEntry &shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

inline const QDBusArgument &operator>>(const QDBusArgument &argument,
                                       DesktopShortcutEntry &shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

class ShortcutPortalBackend : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.impl.portal.GlobalShortcuts")
public:
    static constexpr const char *busName = "org.freedesktop.impl.portal.desktop.nookerytest";
    static constexpr const char *objectPath = "/org/freedesktop/portal/desktop";

    struct Binding {
        QString session;
        QString shortcutID;
        QString description;
        QString preferredTrigger;
    };

    // What the next BindShortcuts answers: 0 binds, 1 is the user cancelling, 2 an error.
    uint bindResponse = 0;
    // The trigger the desktop settles on; empty: the preferred one, as the desktop shows it.
    QString chosenTrigger;
    QList<Binding> bindings;

    ShortcutPortalBackend()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                              QStringLiteral("shortcut-portal-backend"))) {
        qDBusRegisterMetaType<DesktopShortcutEntry>();
        qDBusRegisterMetaType<QList<DesktopShortcutEntry>>();
    }
    ~ShortcutPortalBackend() override {
        m_frontend.terminate();
        m_frontend.waitForFinished(3000);
        m_bus.unregisterService(busName);
    }

    // Starts the frontend; `withBackend` false gives a portal without global shortcuts.
    bool startFrontend(bool withBackend = true) {
        const QString portals = qEnvironmentVariable("NOOKERY_TEST_SCRATCH") + "/portals";
        QDir(portals).removeRecursively();
        QDir().mkpath(portals);
        if (withBackend) {
            if (!m_bus.registerObject(objectPath, this,
                                      QDBusConnection::ExportAllSlots |
                                          QDBusConnection::ExportAllProperties) ||
                !m_bus.registerService(busName))
                return false;
            QFile file(portals + "/nookerytest.portal");
            if (!file.open(QIODevice::WriteOnly))
                return false;
            file.write(QByteArray("[portal]\nDBusName=") + busName +
                       "\nInterfaces=org.freedesktop.impl.portal.GlobalShortcuts;\n"
                       "UseIn=nookerytest\n");
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DESKTOP_PORTAL_DIR"), portals);
        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("nookerytest"));
        m_frontend.setProcessEnvironment(environment);
        // Its warnings about the services a test bus lacks go to the scratch folder.
        m_frontend.setProcessChannelMode(QProcess::MergedChannels);
        m_frontend.setStandardOutputFile(portals + "/frontend.log");
        m_frontend.start(QStringLiteral("/usr/libexec/xdg-desktop-portal"), QStringList());
        if (!m_frontend.waitForStarted())
            return false;
        return QTest::qWaitFor(
            [this] {
                return m_bus.interface()->isServiceRegistered(
                    QStringLiteral("org.freedesktop.portal.Desktop"));
            },
            10000);
    }

    // The most recent binding of `trigger`, if any.
    std::optional<Binding> boundTo(const QString &trigger) const {
        for (auto it = bindings.crbegin(); it != bindings.crend(); ++it) {
            if (it->preferredTrigger == trigger)
                return *it;
        }
        return std::nullopt;
    }

    // The user presses the shortcut of `binding`.
    void press(const Binding &binding) {
        m_bus.send(desktopSignal(QStringLiteral("Activated"), binding)
                   << binding.shortcutID
                   << QVariant::fromValue(qulonglong(QDateTime::currentMSecsSinceEpoch()))
                   << QVariantMap());
    }

    // The user picks another trigger in the desktop's settings.
    void changeTrigger(const Binding &binding, const QString &trigger) {
        m_bus.send(desktopSignal(QStringLiteral("ShortcutsChanged"), binding)
                   << QVariant::fromValue(shortcutsAnswer(binding.shortcutID, trigger)));
    }

    // The user removes the shortcut in the desktop's settings.
    void removeShortcut(const Binding &binding) {
        m_bus.send(desktopSignal(QStringLiteral("ShortcutsChanged"), binding)
                   << QVariant::fromValue(QList<DesktopShortcutEntry>()));
    }

public slots:
    uint CreateSession(const QDBusObjectPath &, const QDBusObjectPath &, const QString &,
                       const QVariantMap &, QVariantMap &results) {
        // xdg-desktop-portal 1.16 passes the list on unchecked: it must be there.
        results.insert(QStringLiteral("shortcuts"),
                       QVariant::fromValue(QList<DesktopShortcutEntry>()));
        return 0;
    }

    uint BindShortcuts(const QDBusObjectPath &, const QDBusObjectPath &session,
                       const QList<DesktopShortcutEntry> &shortcuts, const QString &,
                       const QVariantMap &, QVariantMap &results) {
        for (const DesktopShortcutEntry &shortcut : shortcuts) {
            const QString preferred =
                shortcut.properties.value(QStringLiteral("preferred_trigger")).toString();
            bindings.append({session.path(), shortcut.id,
                             shortcut.properties.value(QStringLiteral("description")).toString(),
                             preferred});
            if (bindResponse == 0) {
                results.insert(QStringLiteral("shortcuts"),
                               QVariant::fromValue(shortcutsAnswer(
                                   shortcut.id, chosenTrigger.isEmpty()
                                                    ? QStringLiteral("Pressing ") + preferred
                                                    : chosenTrigger)));
            }
        }
        return bindResponse;
    }

private:
    static QDBusMessage desktopSignal(const QString &name, const Binding &binding) {
        return QDBusMessage::createSignal(
                   objectPath, QStringLiteral("org.freedesktop.impl.portal.GlobalShortcuts"), name)
               << QVariant::fromValue(QDBusObjectPath(binding.session));
    }

    static QList<DesktopShortcutEntry> shortcutsAnswer(const QString &id, const QString &trigger) {
        return {{id,
                 {{QStringLiteral("description"), QStringLiteral("Open Nookery")},
                  {QStringLiteral("trigger_description"), trigger}}}};
    }

    QDBusConnection m_bus;
    QProcess m_frontend;
};
