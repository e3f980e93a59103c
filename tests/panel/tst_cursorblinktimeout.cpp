#include "panel/CursorBlinkTimeout.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>
#include <QVBoxLayout>

using namespace std::chrono_literals;

class CursorBlinkTimeoutTest : public QObject {
    Q_OBJECT
private slots:
    // Stops blinking when the focused field sits idle, blinks again at the next key; a field
    // without the focus never stops another field's blinking.
    void blinkingFollowsTheFocusedField() {
        QStyleHints *hints = QGuiApplication::styleHints();
        const int platform = hints->cursorFlashTime();
        QVERIFY(platform > 0);

        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *quick = new QLineEdit;
        auto *patient = new QLineEdit;
        layout->addWidget(quick);
        layout->addWidget(patient);
        new CursorBlinkTimeout(quick, 50ms);
        new CursorBlinkTimeout(patient);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        quick->setFocus();
        patient->setFocus();
        QTest::qWait(300);
        QCOMPARE(hints->cursorFlashTime(), platform);

        quick->setFocus();
        QCOMPARE(hints->cursorFlashTime(), platform);
        QTRY_COMPARE_WITH_TIMEOUT(hints->cursorFlashTime(), 0, 1000);

        QTest::keyClick(quick, Qt::Key_A);
        QCOMPARE(hints->cursorFlashTime(), platform);
        QCOMPARE(quick->text(), QStringLiteral("a"));
        QTRY_COMPARE_WITH_TIMEOUT(hints->cursorFlashTime(), 0, 1000);

        patient->setFocus();
        QCOMPARE(hints->cursorFlashTime(), platform);
    }
};

QTEST_MAIN(CursorBlinkTimeoutTest)
#include "tst_cursorblinktimeout.moc"
