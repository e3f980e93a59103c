// The tray icon over D-Bus, as KDE and GNOME's AppIndicator extension host it: on a private
// session bus with a stand-in StatusNotifierWatcher, under Xvfb without an XEmbed tray.

#include "app/AppDelegate.h"
#include "app/PanelPopover.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMutex>
#include <QScreen>
#include <QTest>
#include <QThread>

// Answers on its own connection and thread: Qt asks it synchronously from the main thread
// while creating the tray icon.
class StandInWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
public:
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const {
        const QMutexLocker lock(&m_mutex);
        return m_items;
    }

public slots:
    void RegisterStatusNotifierItem(const QString &item, const QDBusMessage &message) {
        const QMutexLocker lock(&m_mutex);
        // An item names itself by service name, or by object path on the caller's connection.
        m_items.append(item.startsWith('/') ? message.service() + item : item);
    }
    void RegisterStatusNotifierHost(const QString &) {}

private:
    mutable QMutex m_mutex;
    QStringList m_items;
};

class TestStatusNotifier : public QObject {
    Q_OBJECT
    QThread m_watcherThread;
    StandInWatcher m_watcher;
    QDBusConnection m_watcherBus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("watcher"));

    // The host's click on the icon at `point`.
    void activateItem(QPoint point) {
        const QString item = m_watcher.items().value(0);
        QDBusMessage activate = QDBusMessage::createMethodCall(
            item.section('/', 0, 0), QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.kde.StatusNotifierItem"), QStringLiteral("Activate"));
        activate << point.x() << point.y();
        m_watcherBus.send(activate);
    }

private slots:
    void initTestCase() {
        m_watcher.moveToThread(&m_watcherThread);
        m_watcherThread.start();
        QVERIFY(m_watcherBus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &m_watcher,
                                            QDBusConnection::ExportAllSlots |
                                                QDBusConnection::ExportAllProperties));
        QVERIFY(m_watcherBus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
    }
    void cleanupTestCase() {
        m_watcherBus.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
        m_watcherThread.quit();
        m_watcherThread.wait();
    }

    void iconRegistersAndActivationTogglesThePanelAtThePointer() {
        AppDelegate delegate;
        delegate.applicationWillFinishLaunching();
        QTRY_COMPARE_WITH_TIMEOUT(m_watcher.items().size(), 1, 10000);

        // The host does not say where the icon is: the panel opens at the pointer.
        const QPoint pointer(300, 400);
        QCursor::setPos(pointer);
        QTRY_COMPARE(QCursor::pos(), pointer);
        activateItem(pointer);
        QTRY_VERIFY_WITH_TIMEOUT(delegate.popover()->isShown(), 10000);
        const QRect panel = delegate.popover()->geometry();
        QVERIFY2(qAbs(panel.center().x() - pointer.x()) <= 1 && panel.top() > pointer.y() &&
                     panel.top() < pointer.y() + 10,
                 qPrintable(QStringLiteral("panel at %1,%2").arg(panel.x()).arg(panel.y())));
        QVERIFY(QGuiApplication::screenAt(pointer)->availableGeometry().contains(panel));

        activateItem(pointer);
        QTRY_VERIFY_WITH_TIMEOUT(!delegate.popover()->isShown(), 10000);
    }
};

QTEST_MAIN(TestStatusNotifier)
#include "tst_statusnotifier.moc"
