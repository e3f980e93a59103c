// The shortcut through the desktop portal: the controller and its D-Bus client against the real
// xdg-desktop-portal frontend with a test backend, on a private session bus.

#include "harness/ShortcutPortalBackend.h"
#include "hotkey/SpotlightSearchController.h"
#include "platform/xdg/DesktopPortalShortcut.h"
#include "settings/ShortcutHandlerNote.h"
#include "support/FakeGlobalKeyGrabber.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTest>

namespace {

using Status = SpotlightSearchController::Status;
using Chord = FakeGlobalKeyGrabber::Chord;
const Chord optionSpace{57, Qt::AltModifier};

} // namespace

class TestPortalShortcut : public QObject {
    Q_OBJECT

    std::unique_ptr<ShortcutPortalBackend> m_desktop;
    FakeGlobalKeyGrabber *m_grabber = nullptr;
    std::unique_ptr<SpotlightSearchController> m_controller;

    void startController() {
        auto grabber = std::make_unique<FakeGlobalKeyGrabber>();
        m_grabber = grabber.get();
        m_controller = std::make_unique<SpotlightSearchController>(
            std::move(grabber), std::make_unique<DesktopPortalShortcut>());
        m_controller->configure();
    }
    // What the desktop was asked to bind, once the controller knows the desktop holds it.
    ShortcutPortalBackend::Binding bindThroughPortal(const QString &trigger) {
        const bool bound = QTest::qWaitFor(
            [&] {
                return m_desktop->boundTo(trigger) && m_controller->status() == Status::Desktop;
            },
            10000);
        if (!bound)
            qFatal("%s was not bound through the portal", qPrintable(trigger));
        return *m_desktop->boundTo(trigger);
    }

private slots:
    void init() {
        QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery")).clear();
        m_desktop = std::make_unique<ShortcutPortalBackend>();
    }
    void cleanup() {
        m_controller.reset();
        m_desktop.reset();
    }

    // Without a desktop that binds it, the grab stays and the settings say how else to open; a
    // refusal by the user and a failure take the same path.
    void withoutThePortal_theGrabStays() {
        // 0: no portal on the bus, 1: a portal without global shortcuts, 2: one that refuses.
        for (const int frontend : {0, 1, 2}) {
            cleanup();
            init();
            m_desktop->bindResponse = 1;
            if (frontend)
                QVERIFY(m_desktop->startFrontend(frontend == 2));
            startController();
            QTRY_COMPARE_WITH_TIMEOUT(m_controller->status(), Status::X11WindowsOnly, 10000);
            QCOMPARE(m_grabber->grabbed(), optionSpace);
            QVERIFY(m_controller->isRegistered());
            const ShortcutHandlerNote note(*m_controller, nullptr);
            QVERIFY(!note.isHidden());
            QVERIFY2(note.text().contains("nookery --toggle"), qPrintable(note.text()));
        }
        // Recording again asks the desktop again, which holds it from then on.
        m_desktop->bindResponse = 0;
        m_controller->setBinding(HotkeyBinding::defaultBinding());
        bindThroughPortal(QStringLiteral("ALT+space"));
        QCOMPARE(m_grabber->grabbed(), std::nullopt);
    }

    // Without X11 only the desktop hears the shortcut: the note says what the desktop did (it
    // said "X11 windows only"), and follows the desktop's settings, where removing the shortcut
    // once left a dead key shown. It comes back when the desktop binds it again. Its presses
    // while the recorder listens are the recorder's, not a toggle.
    void withoutX11TheShortcutFollowsTheDesktop() {
        m_desktop->bindResponse = 1; // the user declines
        QVERIFY(m_desktop->startFrontend());
        auto portal = std::make_unique<DesktopPortalShortcut>();
        QSignalSpy heard(portal.get(), &GlobalShortcutPortal::activated);
        m_controller = std::make_unique<SpotlightSearchController>(nullptr, std::move(portal));
        m_controller->configure();
        const ShortcutHandlerNote note(*m_controller, nullptr);
        QTRY_COMPARE_WITH_TIMEOUT(m_controller->status(), Status::DesktopDeclined, 10000);
        QVERIFY(m_controller->isDead());
        QVERIFY2(!note.text().contains("X11"), qPrintable(note.text()));

        m_desktop->bindResponse = 0;
        m_controller->setBinding(HotkeyBinding::defaultBinding());
        const auto binding = bindThroughPortal(QStringLiteral("ALT+space"));
        // Asked once per request, under the id the desktop keeps the user's trigger by.
        QCOMPARE(m_desktop->bindings.size(), 2);
        QCOMPARE(binding.shortcutID, QStringLiteral("open-nookery"));

        QSignalSpy pressed(m_controller.get(), &SpotlightSearchController::hotKeyPressed);
        m_controller->setPaused(true);
        m_desktop->press(binding);
        QVERIFY(heard.wait());
        QCoreApplication::processEvents(); // the queued press meets the pause
        m_controller->setPaused(false);
        m_desktop->press(binding);
        QVERIFY(pressed.wait());
        QCOMPARE(pressed.count(), 1);

        m_desktop->removeShortcut(binding);
        QTRY_COMPARE(m_controller->status(), Status::DesktopRemoved);
        QVERIFY(m_controller->isDead());
        QVERIFY2(note.text().contains("removed"), qPrintable(note.text()));
        m_desktop->changeTrigger(binding, QStringLiteral("Alt+Space"));
        QTRY_COMPARE(m_controller->status(), Status::Desktop);
        QCOMPARE(m_controller->shortcutText(), QStringLiteral("Alt+Space"));
    }
};

QTEST_MAIN(TestPortalShortcut)
#include "tst_portalshortcut.moc"
