// Nookery on a desktop without a tray, as on stock GNOME: it keeps running, `nookery --toggle`
// opens its panel in the top-right corner, and a tray that starts later gets the icon.

#include "app/PopoverPlacement.h"
#include "tst_journey_support.h"

class TestJourneyWithoutTray : public QObject {
    Q_OBJECT
    NookeryProcess m_nookery;
    QProcess m_tray;

private slots:
    void initTestCase() { QVERIFY(m_nookery.start()); }
    void cleanupTestCase() {
        m_nookery.stop();
        m_tray.kill();
        m_tray.waitForFinished();
    }

    // Without a tray the program quits, or polls for one and wakes the machine.
    void keepsRunningSilentlyWithoutTray() {
        QVERIFY2(m_nookery.wakeupsWhileIdle() < 3, "the program polls for a tray");
        QCOMPARE(m_nookery.process.state(), QProcess::Running);
        QVERIFY(!trayIconShown());
        QVERIFY(!m_nookery.panelVisible());
    }

    // Without a tray only `nookery --toggle` reaches the panel: it must open, in the top-right
    // corner, and close.
    void toggleOpensInTheTopRightCorner() {
        QCOMPARE(NookeryProcess::runAgain({"--toggle"}), 0);
        QVERIFY(m_nookery.waitForPanel(true));
        // Xvfb's 1280 × 800 screen, with no panel taking space.
        const QRect popover = rectOf(m_nookery.report()["popover"]);
        QCOMPARE(popover.x() + popover.width(), 1280 - PopoverPlacement::margin);
        QCOMPARE(popover.y(), PopoverPlacement::margin);
        QCOMPARE(NookeryProcess::runAgain({"--toggle"}), 0);
        QVERIFY(m_nookery.waitForPanel(false));
    }

    // A tray started after the program never gets the icon, or the panel stays in the corner.
    void trayStartedLaterGetsTheIcon() {
        m_tray.start(QStringLiteral("trayer"),
                     {"--edge", "top", "--align", "right", "--widthtype", "request", "--height",
                      "24", "--SetDockType", "true"});
        QVERIFY(m_tray.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(trayIconShown(), 10000);

        QCOMPARE(NookeryProcess::runAgain({"--toggle"}), 0);
        QVERIFY(m_nookery.waitForPanel(true));
        const QRect tray = rectOf(m_nookery.report()["tray"]);
        QVERIFY(tray.width() > 0);
        QVERIFY(rectOf(m_nookery.report()["popover"]).top() > tray.bottom());
    }
};

QTEST_GUILESS_MAIN(TestJourneyWithoutTray)
#include "tst_journey_notray.moc"
