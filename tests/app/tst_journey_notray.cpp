// Nookery on a desktop without a tray, as on stock GNOME: it keeps running, `nookery --toggle`
// opens its panel in the top-right corner, and a tray that starts later gets the icon.

#include "app/PopoverPlacement.h"
#include "tst_journey_support.h"

#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

bool trayIconShown() {
    QProcess search;
    search.start(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--class", "^Nookery$"});
    search.waitForFinished();
    return !search.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

class TestJourneyWithoutTray : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(m_nookery.start());
        QVERIFY(m_nookery.waitFor([](const QJsonObject &r) { return !r.isEmpty(); }));
    }
    void cleanupTestCase() {
        m_nookery.stop();
        m_tray.kill();
        m_tray.waitForFinished();
    }

    void keepsRunningWithoutTray() {
        QTest::qWait(500);
        QCOMPARE(m_nookery.process().state(), QProcess::Running);
        QVERIFY(!trayIconShown());
        QVERIFY(!m_nookery.panelVisible());
    }

    void toggleOpensInTheTopRightCorner() {
        QCOMPARE(NookeryProcess::runAgain({"--toggle"}), 0);
        QVERIFY(m_nookery.waitForPanel(true));
        const QJsonObject popover = m_nookery.report()["popover"].toObject();
        // Xvfb's 1280 × 800 screen, with no panel taking space.
        QCOMPARE(popover["x"].toInt() + popover["w"].toInt(), 1280 - PopoverPlacement::margin);
        QCOMPARE(popover["y"].toInt(), PopoverPlacement::margin);
        QCOMPARE(NookeryProcess::runAgain({"--toggle"}), 0);
        QVERIFY(m_nookery.waitForPanel(false));
    }

    void waitingForATrayCostsNoWakeups() {
        QTest::qWait(500);
        const qint64 before = m_nookery.contextSwitches();
        QTest::qWait(3000);
        QVERIFY2(m_nookery.contextSwitches() - before < 3, "the program polls while idle");
    }

    void trayStartedLaterGetsTheIcon() {
        m_tray.start(QStringLiteral("trayer"),
                     {"--edge", "top", "--align", "right", "--widthtype", "request", "--height",
                      "24", "--SetDockType", "true"});
        QVERIFY(m_tray.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(trayIconShown(), 10000);

        QCOMPARE(NookeryProcess::runAgain({"--toggle"}), 0);
        QVERIFY(m_nookery.waitForPanel(true));
        const QJsonObject report = m_nookery.report();
        const QJsonObject tray = report["tray"].toObject();
        QVERIFY(tray["w"].toInt() > 0);
        QVERIFY(report["popover"]["y"].toInt() >= tray["y"].toInt() + tray["h"].toInt());
    }

private:
    NookeryProcess m_nookery;
    QProcess m_tray;
};

QTEST_GUILESS_MAIN(TestJourneyWithoutTray)
#include "tst_journey_notray.moc"
