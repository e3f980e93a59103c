#include "hotkey/HotkeyRecorderView.h"
#include "hotkey/ShortcutWell.h"
#include "hotkey/SpotlightSearchController.h"
#include "support/FakeGlobalKeyGrabber.h"

#include <QLineEdit>
#include <QSettings>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr quint32 evdevSpace = 57;
constexpr quint32 evdevK = 37;
constexpr quint32 evdevN = 49;
using Chord = FakeGlobalKeyGrabber::Chord;
const Chord optionSpace{evdevSpace, Qt::AltModifier};

} // namespace

// The controller with a fake desktop grab, and the recorder that edits its binding.
class TestSpotlightSearchController : public QObject {
    Q_OBJECT

    FakeGlobalKeyGrabber *m_grabber = nullptr;
    std::unique_ptr<SpotlightSearchController> m_controller;
    std::unique_ptr<QWidget> m_window;
    HotkeyRecorderView *m_recorder = nullptr;
    QLineEdit *m_field = nullptr;

    static QSettings settings() {
        return QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
    }
    ShortcutWell *well() const { return m_recorder->findChild<ShortcutWell *>(); }

    void startRecording() {
        QTest::mouseClick(well(), Qt::LeftButton);
        QVERIFY(m_recorder->isRecording());
        QCOMPARE(well()->text(), QStringLiteral("Press keys…"));
        // Let go so that the shortcut itself can be recorded instead of toggling the panel.
        QCOMPARE(m_grabber->grabbed(), std::nullopt);
    }

private slots:
    void init() {
        settings().clear();
        auto grabber = std::make_unique<FakeGlobalKeyGrabber>();
        m_grabber = grabber.get();
        m_controller = std::make_unique<SpotlightSearchController>(std::move(grabber));
        m_controller->configure();
        m_window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(m_window.get());
        layout->addWidget(m_field = new QLineEdit);
        layout->addWidget(m_recorder = new HotkeyRecorderView(*m_controller));
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_field->setFocus();
    }

    void cleanup() { m_window.reset(); }

    // A press acted on inside the grab's event filter would run the shell's click handling there:
    // it arrives one turn later.
    void registersTheBindingAndFiresOneTurnLater() {
        QCOMPARE(m_grabber->grabbed(), optionSpace);
        QSignalSpy pressed(m_controller.get(), &SpotlightSearchController::hotKeyPressed);
        m_grabber->press(evdevSpace, Qt::AltModifier);
        QCOMPARE(pressed.count(), 0);
        QTRY_COMPARE(pressed.count(), 1);
    }

    // Settings changed behind its back are written again, and the grab is renewed.
    void sameBindingAgainIsSavedAndGrabbedAnewWithoutAChange() {
        QSignalSpy changed(m_controller.get(), &SpotlightSearchController::bindingChanged);
        m_controller->setBinding({40, 0x1000});
        const int grabs = m_grabber->grabCount();
        settings().clear();
        m_controller->setBinding({40, 0x1000});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_grabber->grabCount(), grabs + 1);
        QCOMPARE(m_grabber->grabbed(), (Chord{evdevK, Qt::ControlModifier}));
        QVERIFY(settings().contains(QLatin1String(SpotlightSearchController::modifiersKey)));
    }

    // A shortcut that cannot be grabbed is kept and said to be dead, not shown as working.
    void failedRegistrationIsToldAndKept() {
        using Status = SpotlightSearchController::Status;
        m_grabber->setTaken({evdevK, Qt::AltModifier});
        m_controller->setBinding({40, 0x800});
        QVERIFY(!m_controller->isRegistered());
        QCOMPARE(m_controller->status(), Status::KeyTaken);
        QVERIFY((loadBinding() == HotkeyBinding{40, 0x800}));
        m_controller->setBinding({54, 0x800}); // right command: no position on this keyboard
        QCOMPARE(m_controller->status(), Status::KeyNotOnKeyboard);
        QVERIFY(m_controller->isDead());
    }

    // Keys pressed while recording never reach the focused field or fire the window's shortcuts,
    // and a key without a modifier is no shortcut.
    void recordsOnlyAKeyWithAModifierAndSwallowsEveryKey() {
        int shortcutFired = 0;
        auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), m_window.get());
        connect(shortcut, &QShortcut::activated, this, [&] { ++shortcutFired; });
        startRecording();
        QTest::keyClicks(m_field, QStringLiteral("a "));
        QTest::keyClick(m_field, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::processEvents();
        QVERIFY(m_recorder->isRecording());
        QTest::keyClick(m_field, Qt::Key_N, Qt::ControlModifier);
        QTRY_VERIFY(!m_recorder->isRecording());
        QCOMPARE(m_field->text(), QString());
        QCOMPARE(shortcutFired, 0);
        QCOMPARE(well()->text(), QStringLiteral("Ctrl+N"));
        QCOMPARE(m_grabber->grabbed(), (Chord{evdevN, Qt::ControlModifier}));
        QTest::keyClicks(m_field, QStringLiteral("x"));
        QCOMPARE(m_field->text(), QStringLiteral("x"));
    }

    // A key is recorded by its X keycode, whatever the layout types there; a key the shortcut
    // cannot use is answered in the well, and recording goes on.
    void keysByPosition() {
        const auto press = [&](int x11Keycode, Qt::Key key, const QString &text) {
            QKeyEvent event(QEvent::KeyPress, key, Qt::AltModifier, quint32(x11Keycode), 0, 0,
                            text);
            QApplication::sendEvent(m_field, &event);
        };
        startRecording();
        press(107, Qt::Key_Print, {});
        QTRY_COMPARE(well()->text(), QStringLiteral("Not supported"));
        QVERIFY(m_recorder->isRecording());
        QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());
        press(45, Qt::Key_unknown, QStringLiteral("л")); // the K position, typing Cyrillic
        QTRY_COMPARE(well()->text(), QStringLiteral("Alt+K"));
        QVERIFY(!m_recorder->isRecording());
        QCOMPARE(m_controller->binding(), (HotkeyBinding{40, 0x800}));
    }

    // Cancelling by a second click, by hiding or by Escape leaves the shortcut as it was. Escape
    // is also the key a layout makes Escape: Caps Lock remapped to it (X keycode 66) once
    // answered "Not supported" and went on recording.
    void cancellingKeepsTheShortcut() {
        const std::function<void()> ways[] = {
            [&] {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, 66, 0xff1b, 0);
                QApplication::sendEvent(m_field, &press);
            },
            [&] { QTest::mouseClick(well(), Qt::LeftButton); }, [&] { m_window->hide(); }};
        for (const auto &cancel : ways) {
            startRecording();
            cancel();
            QTRY_VERIFY(!m_recorder->isRecording());
            QCOMPARE(m_grabber->grabbed(), optionSpace);
            QVERIFY(!settings().contains(QLatin1String(SpotlightSearchController::keyCodeKey)));
            QTest::keyClick(m_field, Qt::Key_K, Qt::AltModifier);
            QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());
        }
    }

    // Reset saves Alt+Space at once, or the old shortcut comes back at the next start.
    void resetRestoresOptionSpaceAndSavesIt() {
        m_controller->setBinding({40, 0x300});
        settings().clear();
        startRecording();
        QTest::mouseClick(m_recorder->findChild<QToolButton *>(), Qt::LeftButton);
        QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());
        QCOMPARE(m_grabber->grabbed(), std::nullopt); // still let go while recording
        QCOMPARE(settings().value(QLatin1String(SpotlightSearchController::modifiersKey)).toInt(),
                 0x800);
        QVERIFY(m_recorder->isRecording());
        QTest::mouseClick(well(), Qt::LeftButton);
        QCOMPARE(well()->text(), QStringLiteral("Alt+Space"));
    }
};

QTEST_MAIN(TestSpotlightSearchController)
#include "tst_spotlightsearchcontroller.moc"
