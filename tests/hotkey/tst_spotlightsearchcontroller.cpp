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

    // A shortcut that cannot be grabbed is kept, said to be dead, and tried on the next change.
    void failedRegistrationIsToldAndRetriedOnTheNextChange() {
        using Status = SpotlightSearchController::Status;
        m_grabber->setTaken({evdevK, Qt::AltModifier});
        m_controller->setBinding({40, 0x800});
        QVERIFY(!m_controller->isRegistered());
        QCOMPARE(m_controller->status(), Status::KeyTaken);
        QVERIFY((loadBinding() == HotkeyBinding{40, 0x800}));
        m_controller->setBinding({54, 0x800}); // right command: no position on this keyboard
        QCOMPARE(m_controller->status(), Status::KeyNotOnKeyboard);
        QVERIFY(m_controller->isDead());
        m_controller->setBinding({49, 0x1000});
        QVERIFY(m_controller->isRegistered());
        QVERIFY(!m_controller->isDead());
    }

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
    void keysByPosition_data() {
        QTest::addColumn<int>("x11Keycode");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("well");
        QTest::addColumn<quint32>("recorded"); // 0: nothing
        const auto row = [](const char *name, int x11, Qt::Key key, const char *text,
                            const char *well, quint32 recorded) {
            QTest::newRow(name) << x11 << int(key) << QString::fromUtf8(text) << well << recorded;
        };
        row("K position typing a Cyrillic letter", 45, Qt::Key_unknown, "л", "Alt+K", 40);
        row("Print", 107, Qt::Key_Print, "", "Not supported", 0);
    }
    void keysByPosition() {
        QFETCH(int, x11Keycode);
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(QString, well);
        QFETCH(quint32, recorded);
        startRecording();
        QKeyEvent press(QEvent::KeyPress, key, Qt::AltModifier, quint32(x11Keycode), 0, 0, text);
        QApplication::sendEvent(m_field, &press);
        QTRY_COMPARE(this->well()->text(), well);
        QCOMPARE(m_recorder->isRecording(), recorded == 0);
        QCOMPARE(m_controller->binding(),
                 (recorded ? HotkeyBinding{recorded, 0x800} : HotkeyBinding::defaultBinding()));
    }

    // Escape is also the key a layout makes Escape: Caps Lock remapped to it (X keycode 66) once
    // answered "Not supported" and went on recording.
    void cancellingKeepsTheShortcut_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("shift escape") << 0;
        QTest::newRow("second click") << 1;
        QTest::newRow("hiding") << 2;
        QTest::newRow("caps lock typing escape") << 3;
    }

    void cancellingKeepsTheShortcut() {
        QFETCH(int, way);
        startRecording();
        if (way == 0) {
            QTest::keyClick(m_field, Qt::Key_Escape, Qt::ShiftModifier);
        } else if (way == 3) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, 66, 0xff1b, 0);
            QApplication::sendEvent(m_field, &press);
        } else if (way == 1) {
            QTest::mouseClick(well(), Qt::LeftButton);
        } else {
            m_window->hide();
        }
        QTRY_VERIFY(!m_recorder->isRecording());
        QCOMPARE(m_grabber->grabbed(), optionSpace);
        QVERIFY(!settings().contains(QLatin1String(SpotlightSearchController::keyCodeKey)));
        QTest::keyClick(m_field, Qt::Key_K, Qt::AltModifier);
        QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());
    }

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
