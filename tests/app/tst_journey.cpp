// A user's day with Nookery on a private X display with a tray: the real program and fake-figma,
// driven with xdotool, every place read from the program's geometry report. A failed step leaves
// a screenshot and the report in the build directory. With NOOKERY_JOURNEY_PORTAL set, the
// session is a Wayland one whose desktop portal holds the shortcut and presses it.

#include "harness/FakeFigma.h"
#include "harness/ShortcutPortalBackend.h"
#include "tst_journey_support.h"

#include <QSettings>

namespace {

const QString inboxID = QStringLiteral("6F0C1B8E-2D0A-4B7E-9F51-3A1D2C4B5E60");
const QString archiveID = QStringLiteral("A2E9D4C7-51B3-4F08-8C6D-7E2F1A0B9C34");

QPoint centreOf(const QJsonObject &widget) {
    return rectOf(widget["visibleRect"]).center();
}

void mouseTo(QPoint point) {
    xdotool({"mousemove", QString::number(point.x()), QString::number(point.y())});
}

// The server queues xdotool's events in order and Nookery handles them in that order, so a
// step needs no pause between its events; it waits only for what Nookery shows in the end.
void clickAt(QPoint point) {
    mouseTo(point);
    xdotool({"click", "1"});
}

// In small steps, as a hand moves, so the drag starts and hover follows the pointer.
void drag(QPoint from, QPoint to) {
    mouseTo(from);
    xdotool({"mousedown", "1"});
    for (int step = 1; step <= 12; ++step)
        mouseTo(from + (to - from) * step / 12);
    xdotool({"mouseup", "1"});
}

} // namespace

class TestJourney : public QObject {
    Q_OBJECT
    FakeFigma m_figma{QStringLiteral(FAKE_FIGMA_BINARY)};
    NookeryProcess m_nookery;
    std::unique_ptr<ShortcutPortalBackend> m_portal;

    // xdotool's key names ("ctrl+alt+k"), pressed on the keyboard or by the desktop's portal.
    void pressShortcut(const QString &keys) {
        if (!m_portal) {
            xdotool({"key", keys});
            return;
        }
        QStringList parts = keys.split('+');
        for (qsizetype modifier = 0; modifier + 1 < parts.size(); ++modifier)
            parts[modifier] = parts[modifier].toUpper();
        const QString trigger = parts.join('+');
        QVERIFY2(QTest::qWaitFor([&] { return m_portal->boundTo(trigger).has_value(); }),
                 qPrintable(trigger + " was never bound through the portal"));
        m_portal->press(*m_portal->boundTo(trigger));
    }

    QList<QJsonObject> widgets(const QString &className, const QString &value = {},
                               const char *key = "text", bool onScreenOnly = false) const {
        return widgetsIn(m_nookery.report(), className, value, key, onScreenOnly);
    }
    QList<QJsonObject> onScreen(const QString &className, const QString &text = {}) const {
        return widgets(className, text, "text", true);
    }
    QJsonObject waitForOnScreen(const QString &className, const QString &text = {}) const {
        QJsonObject found;
        const auto shown = [&] { return !(found = onScreen(className, text).value(0)).isEmpty(); };
        return QTest::qWaitFor(shown, 10000) ? found : QJsonObject();
    }
    void openPanelOverFigma(const QString &shortcut = QStringLiteral("alt+space")) {
        xdotool({"search", "--sync", "--class", "^Figma$", "windowactivate", "--sync"});
        pressShortcut(shortcut);
        QVERIFY2(m_nookery.waitForPanel(true), "the panel did not open");
    }
    void closePanelByClickingOutside() {
        const QRect popover = rectOf(m_nookery.report()["popover"]);
        clickAt({std::max(5, popover.x() - 40), popover.y() + 200});
        QVERIFY2(m_nookery.waitForPanel(false), "the panel did not close");
    }

private slots:
    void initTestCase() {
        // Two empty folders, as a user who already made them.
        QVERIFY(writeFile(foldersFile, QStringLiteral(R"({"ungroupedOrder":[],"folders":[
            {"id":"%1","name":"Inbox","tabIDs":[],"isExpanded":true},
            {"id":"%2","name":"Archive","tabIDs":[],"isExpanded":true}]})")
                                           .arg(inboxID, archiveID)
                                           .toUtf8()));
        QVERIFY(m_figma.run({"--install-handler"}));
        QVERIFY(m_figma.start());
        if (qEnvironmentVariableIsSet("NOOKERY_JOURNEY_PORTAL")) {
            m_portal = std::make_unique<ShortcutPortalBackend>();
            QVERIFY(m_portal->startFrontend());
            qputenv("WAYLAND_DISPLAY", "wayland-nookery-test");
        }
        QVERIFY(m_nookery.start());
    }
    void cleanup() {
        if (!QTest::currentTestFailed())
            return;
        const QString shot =
            QStringLiteral(SCREENSHOT_DIR "/journey-%1%2.png")
                .arg(m_portal ? "portal-" : "", QString::fromLatin1(QTest::currentTestFunction()));
        QProcess::execute(QStringLiteral("import"), {"-window", "root", shot});
        QFile::copy(m_nookery.reportPath, shot + ".json");
        qWarning("screenshot: %s", qPrintable(shot));
    }
    void cleanupTestCase() {
        m_nookery.stop();
        m_figma.quit();
    }

    // No icon, or the shortcut held twice (our grab and the desktop's portal): one press would
    // open and close the panel.
    void trayIconAppears() {
        QTRY_VERIFY_WITH_TIMEOUT(trayIconShown(), 10000);
        QVERIFY(!m_nookery.panelVisible());
        if (m_portal) {
            // The desktop holds the shortcut: no grab of our own toggles the panel a second time.
            QTRY_VERIFY_WITH_TIMEOUT(m_portal->boundTo("ALT+space").has_value(), 10000);
            xdotool({"key", "alt+space"});
            QVERIFY2(m_nookery.staysClosed(), "the X grab is still held");
        } else {
            QVERIFY2(m_nookery.report()["shortcutRegistered"].toBool(),
                     "the shortcut is not grabbed");
        }
    }

    // A dead shortcut, a panel away from its icon, or typing lost outside the search field.
    void shortcutOpensTheWelcomeThenTheTabsWithCursorInSearch() {
        openPanelOverFigma();
        QVERIFY(!waitForOnScreen("WelcomeView").isEmpty());
        const QRect popover = rectOf(m_nookery.report()["popover"]);
        QVERIFY(popover.top() > rectOf(m_nookery.report()["tray"]).bottom());
        QVERIFY(popover.right() < 1280);

        clickAt(centreOf(waitForOnScreen({}, "Get Started")));
        QTRY_VERIFY2_WITH_TIMEOUT(widgets("TabRowView").size() > 5, "no tab rows", 10000);
        QVERIFY(m_nookery.panelVisible());

        pressShortcut("alt+space");
        QVERIFY2(m_nookery.waitForPanel(false), "the shortcut did not close the panel");
        openPanelOverFigma();
        QTRY_COMPARE_WITH_TIMEOUT(m_nookery.report()["focusParent"].toString(),
                                  QStringLiteral("SearchFieldView"), 10000);
    }

    // Return opening the wrong file or none, or leaving the panel over Figma.
    void typingFiltersAndReturnSwitchesFigma() {
        xdotool({"type", "--delay", "30", "Pricing"});
        QTRY_VERIFY2_WITH_TIMEOUT(widgets("TabRowView").size() == 1 &&
                                      !widgets("TabRowView", "Pricing page").isEmpty(),
                                  "typing did not filter the list to the matching tab", 10000);
        xdotool({"key", "Down", "Return"});
        QVERIFY2(m_nookery.waitForPanel(false), "Return did not close the panel");
        QTRY_VERIFY_WITH_TIMEOUT(!FakeFigma::loggedUrls().isEmpty(), 5000);
        const QString opened = FakeFigma::loggedUrls().constLast();
        QVERIFY2(opened.startsWith("figma://") && opened.endsWith("/Pricing-page"),
                 qPrintable(opened));
    }

    // A timer left running after use (a blinking cursor, an animation) wakes the idle machine.
    void idleIsSilentAfterUse() {
        const qint64 wakeups = m_nookery.wakeupsWhileIdle();
        QVERIFY2(wakeups < 3, qPrintable(QStringLiteral("%1 wake-ups in 3 s").arg(wakeups)));
    }

    // A drop onto a folder lost, or saved but not shown in the folder.
    void draggingARowOntoAFolderFilesIt() {
        openPanelOverFigma();
        const QJsonObject inbox = waitForOnScreen("FolderSectionView", "Inbox");
        QVERIFY2(!inbox.isEmpty() && !onScreen("TabRowView").isEmpty(), "no Inbox or no rows");
        const QJsonObject row = onScreen("TabRowView").constLast();
        const QString id = row["id"].toString();
        drag(centreOf(row), centreOf(inbox));
        QTRY_VERIFY_WITH_TIMEOUT(filedIn(inboxID).contains(id), 5000);
        // The next step reads where rows are: wait until the list shows the row in the folder.
        const auto shownInInbox = [&] {
            const QJsonObject filed = widgets("TabRowView", id, "id", true).value(0);
            const QJsonObject archive = onScreen("FolderSectionView", "Archive").value(0);
            return !filed.isEmpty() && !archive.isEmpty() &&
                   centreOf(filed).y() > centreOf(inbox).y() &&
                   centreOf(filed).y() < centreOf(archive).y();
        };
        QTRY_VERIFY_WITH_TIMEOUT(shownInInbox(), 10000);
    }

    // A tab closed in Figma lost: not under Recently Closed, or not reopened by a click.
    void closedTabReopensFromRecentlyClosed() {
        closePanelByClickingOutside();
        const QString key = filedIn(inboxID).value(0);
        QVERIFY(m_figma.run({"--close-tab", key}));
        openPanelOverFigma();
        const auto closedRow = [&] { return widgets("ClosedTabRowView", key, "id").value(0); };
        QTRY_VERIFY2_WITH_TIMEOUT(!closedRow().isEmpty(), "not under Recently Closed", 10000);
        // The section ends the list: the wheel scrolls it into view.
        mouseTo(rectOf(m_nookery.report()["popover"]).center());
        for (int turn = 0; turn < 40 && !isOnScreen(closedRow()); ++turn) {
            const QJsonValue before = m_nookery.report()["widgets"];
            xdotool({"click", "5"});
            // Until the list moved, or it had no further to go.
            (void)QTest::qWaitFor([&] { return m_nookery.report()["widgets"] != before; }, 500);
        }
        QVERIFY2(isOnScreen(closedRow()), "the closed tab's row is not on screen");
        const int logged = FakeFigma::loggedUrls().size();
        clickAt(centreOf(closedRow()));
        QTRY_VERIFY_WITH_TIMEOUT(FakeFigma::loggedUrls().size() > logged, 5000);
        QVERIFY2(FakeFigma::loggedUrls().constLast().contains(key),
                 qPrintable(FakeFigma::loggedUrls().constLast()));
    }

    // A button on the icon that does nothing, or the click that closes the panel reopening it.
    void trayIconClicksToggle() {
        if (m_nookery.panelVisible())
            closePanelByClickingOutside();
        mouseTo(rectOf(m_nookery.report()["tray"]).center());
        // Either button opens the panel; a click on the icon while it is open only closes it.
        for (const QString &button : {QStringLiteral("1"), QStringLiteral("3")}) {
            xdotool({"click", button});
            QVERIFY2(m_nookery.waitForPanel(true), qPrintable(button + " did not open"));
            xdotool({"click", button});
            QVERIFY2(m_nookery.waitForPanel(false), qPrintable(button + " did not close"));
            QVERIFY2(m_nookery.staysClosed(), qPrintable(button + " reopened the panel"));
        }
    }

    // A recorded shortcut dead until a restart, or the old one still opening the panel.
    void recordedShortcutReplacesTheOld() {
        openPanelOverFigma();
        clickAt(centreOf(waitForOnScreen("SymbolButton", "Settings")));
        const QJsonObject well = waitForOnScreen("ShortcutWell");
        QVERIFY2(!well.isEmpty(), "no shortcut recorder on the settings page");
        if (m_portal) {
            QCOMPARE(well["text"].toString(), QStringLiteral("Pressing ALT+space"));
            QVERIFY(!waitForOnScreen({}, "Your desktop handles this shortcut.").isEmpty());
        }
        clickAt(centreOf(well));
        xdotool({"key", "ctrl+alt+k"});
        QTRY_COMPARE_WITH_TIMEOUT(
            QSettings("Nookery", "Nookery").value("Nookery.hotkey.keyCode").toInt(), 40, 5000);

        closePanelByClickingOutside();
        openPanelOverFigma(QStringLiteral("ctrl+alt+k"));
        closePanelByClickingOutside();
        pressShortcut("alt+space");
        QVERIFY2(m_nookery.staysClosed(), "the old shortcut still opens the panel");
    }
};

QTEST_GUILESS_MAIN(TestJourney)
#include "tst_journey.moc"
