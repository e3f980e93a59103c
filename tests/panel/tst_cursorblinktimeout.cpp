#include "panel/CursorBlinkTimeout.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

using namespace std::chrono_literals;

class CursorBlinkTimeoutTest : public QObject {
    Q_OBJECT
private slots:
    // A blinking cursor woke the program twice a second for as long as the panel sat open;
    // stopped, it must blink again at the next key.
    void blinkingStopsWhileTheFieldSitsIdle() {
        QStyleHints *hints = QGuiApplication::styleHints();
        const int platform = hints->cursorFlashTime();
        QVERIFY(platform > 0);
        QLineEdit field;
        new CursorBlinkTimeout(&field, 50ms);
        field.show();
        field.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&field));
        field.setFocus();
        QTRY_COMPARE_WITH_TIMEOUT(hints->cursorFlashTime(), 0, 1000);
        QTest::keyClick(&field, Qt::Key_A);
        QCOMPARE(hints->cursorFlashTime(), platform);
        QTRY_COMPARE_WITH_TIMEOUT(hints->cursorFlashTime(), 0, 1000);
    }
};

QTEST_MAIN(CursorBlinkTimeoutTest)
#include "tst_cursorblinktimeout.moc"
