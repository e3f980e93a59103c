#include "hotkey/SpotlightSearchController.h"
#include "platform/FakeGlobalKeyGrabber.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr quint32 evdevSpace = 57;
constexpr quint32 evdevK = 37;

using Chord = FakeGlobalKeyGrabber::Chord;

} // namespace

class TestSpotlightSearchController : public QObject {
    Q_OBJECT

    FakeGlobalKeyGrabber *m_grabber = nullptr;
    std::unique_ptr<SpotlightSearchController> m_controller;

    void makeController() {
        auto grabber = std::make_unique<FakeGlobalKeyGrabber>();
        m_grabber = grabber.get();
        m_controller = std::make_unique<SpotlightSearchController>(std::move(grabber));
    }

private slots:
    void init() {
        QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery")).clear();
        makeController();
    }

    void configureRegistersTheSavedBinding() {
        QCOMPARE(m_grabber->grabbed(), std::nullopt);
        m_controller->configure();
        QCOMPARE(m_grabber->grabbed(), (Chord{evdevSpace, Qt::AltModifier}));
        QVERIFY(m_controller->isRegistered());

        saveBinding({40, 0x300});
        makeController();
        QVERIFY((m_controller->binding() == HotkeyBinding{40, 0x300}));
        m_controller->configure();
        QCOMPARE(m_grabber->grabbed(), (Chord{evdevK, Qt::ShiftModifier | Qt::MetaModifier}));
    }

    void pressingTheShortcutFiresOneTurnLater() {
        m_controller->configure();
        QSignalSpy pressed(m_controller.get(), &SpotlightSearchController::hotKeyPressed);
        m_grabber->press(evdevSpace, Qt::AltModifier);
        QCOMPARE(pressed.count(), 0);
        QTRY_COMPARE(pressed.count(), 1);
    }

    void newBindingReplacesTheOldRegistration() {
        m_controller->configure();
        QSignalSpy changed(m_controller.get(), &SpotlightSearchController::bindingChanged);
        QSignalSpy pressed(m_controller.get(), &SpotlightSearchController::hotKeyPressed);
        m_controller->setBinding({40, 0x1000});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_grabber->grabbed(), (Chord{evdevK, Qt::ControlModifier}));

        m_grabber->press(evdevSpace, Qt::AltModifier);
        m_grabber->press(evdevK, Qt::ControlModifier);
        QTRY_COMPARE(pressed.count(), 1);

        const QSettings settings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
        QCOMPARE(settings.value(QLatin1String(SpotlightSearchController::keyCodeKey)).toInt(), 40);
        QCOMPARE(settings.value(QLatin1String(SpotlightSearchController::modifiersKey)).toInt(),
                 0x1000);
    }

    void sameBindingStillSavesAndRegistersAgain() {
        m_controller->configure();
        QSignalSpy changed(m_controller.get(), &SpotlightSearchController::bindingChanged);
        const int grabsBefore = m_grabber->grabCount();
        m_controller->setBinding(HotkeyBinding::defaultBinding());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_grabber->grabCount(), grabsBefore + 1);
        const QSettings settings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
        QVERIFY(settings.contains(QLatin1String(SpotlightSearchController::keyCodeKey)));
        QVERIFY(settings.contains(QLatin1String(SpotlightSearchController::modifiersKey)));
    }

    void refusedRegistrationIsSilentAndRetriedOnTheNextChange() {
        m_grabber->setTaken({evdevSpace, Qt::AltModifier});
        m_controller->configure();
        QVERIFY(!m_controller->isRegistered());
        QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());

        m_controller->setBinding({40, 0x800});
        QVERIFY(m_controller->isRegistered());
        QVERIFY((loadBinding() == HotkeyBinding{40, 0x800}));
    }

    void keyWithoutAPositionRegistersNothing() {
        m_controller->configure();
        m_controller->setBinding({54, 0x800});
        QVERIFY(!m_controller->isRegistered());
        QCOMPARE(m_grabber->grabbed(), std::nullopt);
        QCOMPARE(displayString(m_controller->binding()), QStringLiteral("⌥ Key 54"));
    }

    void pausingLetsGoUntilResumed() {
        m_controller->configure();
        m_controller->setPaused(true);
        QCOMPARE(m_grabber->grabbed(), std::nullopt);
        m_controller->setBinding({40, 0x1000});
        QCOMPARE(m_grabber->grabbed(), std::nullopt);
        m_controller->setPaused(false);
        QCOMPARE(m_grabber->grabbed(), (Chord{evdevK, Qt::ControlModifier}));
    }

    void worksWithoutAnyGrabber() {
        SpotlightSearchController controller(nullptr);
        controller.configure();
        controller.setBinding({40, 0x100});
        QVERIFY(!controller.isRegistered());
        QVERIFY((controller.binding() == HotkeyBinding{40, 0x100}));
    }
};

QTEST_GUILESS_MAIN(TestSpotlightSearchController)
#include "tst_spotlightsearchcontroller.moc"
