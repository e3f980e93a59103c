#include "hotkey/HotkeyRecorderView.h"
#include "hotkey/ShortcutWell.h"
#include "hotkey/SpotlightSearchController.h"

#include <QLineEdit>
#include <QSettings>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

class TestHotkeyRecorderView : public QObject {
    Q_OBJECT

    std::unique_ptr<SpotlightSearchController> m_controller;
    std::unique_ptr<QWidget> m_window;
    HotkeyRecorderView *m_recorder = nullptr;
    QLineEdit *m_field = nullptr;

    ShortcutWell *well() const { return m_recorder->findChild<ShortcutWell *>(); }
    QToolButton *resetButton() const { return m_recorder->findChild<QToolButton *>(); }

    static QSettings settings() {
        return QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
    }

    void startRecording() {
        QTest::mouseClick(well(), Qt::LeftButton);
        QVERIFY(m_recorder->isRecording());
        QCOMPARE(well()->text(), QStringLiteral("Press keys…"));
    }

private slots:
    void init() {
        settings().clear();
        m_controller = std::make_unique<SpotlightSearchController>(nullptr);
        m_window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(m_window.get());
        m_field = new QLineEdit(m_window.get());
        m_recorder = new HotkeyRecorderView(*m_controller, m_window.get());
        layout->addWidget(m_field);
        layout->addWidget(m_recorder);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_field->setFocus();
    }

    void cleanup() { m_window.reset(); }

    void showsTheCurrentShortcut() {
        QCOMPARE(well()->text(), QStringLiteral("⌥ Space"));
        QCOMPARE(resetButton()->toolTip(), QStringLiteral("Reset to default (⌥ Space)"));
        m_controller->setBinding({40, 0x300});
        QCOMPARE(well()->text(), QStringLiteral("⇧ ⌘ K"));
    }

    void keyWithoutModifierKeepsRecordingThenOptionSpaceRecords() {
        m_controller->setBinding({40, 0x100});
        startRecording();
        QTest::keyClick(m_field, Qt::Key_Space);
        QCoreApplication::processEvents();
        QVERIFY(m_recorder->isRecording());
        QCOMPARE(well()->text(), QStringLiteral("Press keys…"));
        QTest::keyClick(m_field, Qt::Key_Space, Qt::AltModifier);
        QTRY_VERIFY(!m_recorder->isRecording());
        QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());
        QCOMPARE(well()->text(), QStringLiteral("⌥ Space"));
    }

    void escapeCancelsWhateverModifiersAreHeld() {
        startRecording();
        QTest::keyClick(m_field, Qt::Key_Escape, Qt::ShiftModifier);
        QTRY_VERIFY(!m_recorder->isRecording());
        QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());
        QVERIFY(!settings().contains(QLatin1String(SpotlightSearchController::keyCodeKey)));
    }

    void commandShiftKRecordsBothModifiers() {
        startRecording();
        QTest::keyClick(m_field, Qt::Key_K, Qt::MetaModifier | Qt::ShiftModifier);
        QTRY_VERIFY(!m_recorder->isRecording());
        QVERIFY((m_controller->binding() == HotkeyBinding{40, 0x300}));
        QCOMPARE(well()->text(), QStringLiteral("⇧ ⌘ K"));
        QCOMPARE(settings().value(QLatin1String(SpotlightSearchController::modifiersKey)).toInt(),
                 0x300);
    }

    void theKeyPositionComesFromTheNativeScanCode() {
        startRecording();
        // X keycode 45 is the K position whatever the layout types there (here: a Cyrillic л).
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::ControlModifier, 45, 0, 0,
                        QStringLiteral("л"));
        QApplication::sendEvent(m_field, &press);
        QTRY_VERIFY(!m_recorder->isRecording());
        QVERIFY((m_controller->binding() == HotkeyBinding{40, 0x1000}));
    }

    void loneModifierKeysAreNotAShortcut() {
        startRecording();
        QTest::keyClick(m_field, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyClick(m_field, Qt::Key_Control, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QVERIFY(m_recorder->isRecording());
    }

    void clickingTwiceRecordsNothing() {
        startRecording();
        // The shortcut itself must reach the recorder rather than toggle the panel.
        QVERIFY(m_controller->isPaused());
        QTest::mouseClick(well(), Qt::LeftButton);
        QVERIFY(!m_controller->isPaused());
        QVERIFY(!m_recorder->isRecording());
        QCOMPARE(well()->text(), QStringLiteral("⌥ Space"));
        QVERIFY(!settings().contains(QLatin1String(SpotlightSearchController::keyCodeKey)));
    }

    void noKeyReachesAnythingElseWhileRecording() {
        int shortcutFired = 0;
        auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_N), m_window.get());
        connect(shortcut, &QShortcut::activated, this, [&] { ++shortcutFired; });
        startRecording();
        QTest::keyClicks(m_field, QStringLiteral("abc"));
        QTest::keyClick(m_field, Qt::Key_N, Qt::ControlModifier);
        QTRY_VERIFY(!m_recorder->isRecording());
        QCOMPARE(m_field->text(), QString());
        QCOMPARE(shortcutFired, 0);

        // Once recording is over, keys flow again.
        QTest::keyClicks(m_field, QStringLiteral("x"));
        QCOMPARE(m_field->text(), QStringLiteral("x"));
    }

    void resetRestoresOptionSpaceWithoutEndingRecording() {
        m_controller->setBinding({40, 0x300});
        settings().clear();
        startRecording();
        QTest::mouseClick(resetButton(), Qt::LeftButton);
        QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());
        QVERIFY(m_recorder->isRecording());
        QCOMPARE(well()->text(), QStringLiteral("Press keys…"));

        // Even when it already is the default, both keys are written again.
        QTest::mouseClick(well(), Qt::LeftButton);
        settings().clear();
        QTest::mouseClick(resetButton(), Qt::LeftButton);
        QCOMPARE(settings().value(QLatin1String(SpotlightSearchController::keyCodeKey)).toInt(),
                 49);
        QCOMPARE(settings().value(QLatin1String(SpotlightSearchController::modifiersKey)).toInt(),
                 0x800);
        QCOMPARE(well()->text(), QStringLiteral("⌥ Space"));
    }

    void hidingStopsRecording() {
        startRecording();
        m_window->hide();
        QVERIFY(!m_recorder->isRecording());
        QVERIFY(!m_controller->isPaused());
        QTest::keyClick(m_field, Qt::Key_K, Qt::AltModifier);
        QCoreApplication::processEvents();
        QCOMPARE(m_controller->binding(), HotkeyBinding::defaultBinding());
    }

    void wellLayout() {
        QVERIFY(well()->width() >= 110);
        QCOMPARE(resetButton()->size(), QSize(22, 22));
        QCOMPARE(resetButton()->x() - (well()->x() + well()->width()), 6);
    }
};

QTEST_MAIN(TestHotkeyRecorderView)
#include "tst_hotkeyrecorderview.moc"
