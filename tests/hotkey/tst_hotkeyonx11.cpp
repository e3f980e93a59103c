#include "hotkey/HotkeyRecorderView.h"
#include "hotkey/ShortcutWell.h"
#include "hotkey/SpotlightSearchController.h"
#include "platform/x11/X11KeyGrabber.h"

#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

void pressKeys(const QString &chord) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), chord}), 0);
}

} // namespace

// The controller, the recorder and the real X11 grab together, in a panel-like popup.
class TestHotkeyOnX11 : public QObject {
    Q_OBJECT

    std::unique_ptr<SpotlightSearchController> m_controller;

private slots:
    void init() {
        QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery")).clear();
        m_controller = std::make_unique<SpotlightSearchController>(X11KeyGrabber::create());
        m_controller->configure();
        QVERIFY(m_controller->isRegistered());
    }

    void cleanup() { m_controller.reset(); }

    void recordingInThePopupReplacesTheShortcut() {
        QSignalSpy pressed(m_controller.get(), &SpotlightSearchController::hotKeyPressed);
        pressKeys(QStringLiteral("alt+space"));
        QTRY_COMPARE(pressed.count(), 1);

        QWidget popup(nullptr, Qt::Popup);
        auto *layout = new QVBoxLayout(&popup);
        auto *recorder = new HotkeyRecorderView(*m_controller, &popup);
        layout->addWidget(recorder);
        popup.move(200, 200);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        QTest::mouseClick(recorder->findChild<ShortcutWell *>(), Qt::LeftButton);
        QVERIFY(recorder->isRecording());

        pressKeys(QStringLiteral("ctrl+shift+k"));
        QTRY_VERIFY(!recorder->isRecording());
        QVERIFY((m_controller->binding() == HotkeyBinding{40, 0x1200}));
        QVERIFY(m_controller->isRegistered());

        // The old chord is free again; the new one works, also while the popup is open.
        pressKeys(QStringLiteral("alt+space"));
        pressKeys(QStringLiteral("ctrl+shift+k"));
        QTRY_COMPARE(pressed.count(), 2);
        QTest::qWait(200);
        QCOMPARE(pressed.count(), 2);
    }

    void theCurrentShortcutCanBeRecordedAgain() {
        QSignalSpy pressed(m_controller.get(), &SpotlightSearchController::hotKeyPressed);
        QWidget popup(nullptr, Qt::Popup);
        auto *layout = new QVBoxLayout(&popup);
        auto *recorder = new HotkeyRecorderView(*m_controller, &popup);
        layout->addWidget(recorder);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        QTest::mouseClick(recorder->findChild<ShortcutWell *>(), Qt::LeftButton);

        pressKeys(QStringLiteral("alt+space"));
        QTRY_VERIFY(!recorder->isRecording());
        QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());
        QCOMPARE(pressed.count(), 0);
        QVERIFY(m_controller->isRegistered());
    }
};

QTEST_MAIN(TestHotkeyOnX11)
#include "tst_hotkeyonx11.moc"
