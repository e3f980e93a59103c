// A user's day with Nookery, played on a private X display with a tray: the real program and
// fake-figma, driven with xdotool. Every step reads where things are from the geometry report
// the program writes when NOOKERY_TEST_GEOMETRY_FILE is set. A failed step leaves a screenshot
// in the build directory.

#include "tst_journey_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <functional>

namespace {

const QString inboxID = QStringLiteral("6F0C1B8E-2D0A-4B7E-9F51-3A1D2C4B5E60");
const QString archiveID = QStringLiteral("A2E9D4C7-51B3-4F08-8C6D-7E2F1A0B9C34");

QString scratch() {
    return qEnvironmentVariable("NOOKERY_TEST_SCRATCH");
}

QString foldersFile() {
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Nookery/folders.json");
}

QPoint centreOf(const QJsonObject &widget) {
    const QJsonObject rect = widget["visibleRect"].toObject();
    return {rect["x"].toInt() + rect["w"].toInt() / 2, rect["y"].toInt() + rect["h"].toInt() / 2};
}

bool isOnScreen(const QJsonObject &widget) {
    const QJsonObject rect = widget["visibleRect"].toObject();
    return rect["w"].toInt() > 4 && rect["h"].toInt() > 4;
}

} // namespace

class TestJourney : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void trayIconAppears();
    void shortcutOpensWelcomeOverAnotherWindow();
    void getStartedShowsThePanel();
    void shortcutOpensWithCursorInSearchField();
    void typingFiltersAndReturnSwitchesFigma();
    void idleIsSilentAfterUse();
    void draggingARowOntoAFolderFilesIt();
    void ctrlClickedRowsMoveTogether();
    void closedTabReopensFromRecentlyClosed();
    void recordedShortcutReplacesTheOld();
    void commandLineToggles();
    void trayIconClicksToggle();
    void quitFromSettings();
    void toggleStartsNookeryWhenNotRunning();

private:
    QJsonObject report() const { return m_nookery.report(); }
    bool waitFor(const std::function<bool(const QJsonObject &)> &ready) {
        return m_nookery.waitFor(ready);
    }
    QList<QJsonObject> widgets(const QString &className) const;
    QJsonObject widget(const QString &className, const QString &text) const;
    bool panelVisible() const { return m_nookery.panelVisible(); }
    void xdotool(const QStringList &arguments);
    void clickAt(QPoint point);
    void drag(QPoint from, QPoint to);
    void focusFigma();
    void openPanelWithShortcut(const QString &shortcut = QStringLiteral("alt+space"));
    void closePanelByClickingOutside();
    bool isShownInFolder(const QString &tabID, const QString &folderName) const;
    QJsonObject folder(const QString &id) const;
    QStringList figmaLog() const;

    QProcess m_figma;
    NookeryProcess m_nookery;
};

QList<QJsonObject> TestJourney::widgets(const QString &className) const {
    QList<QJsonObject> found;
    for (const QJsonValue &value : report()["widgets"].toArray()) {
        const QJsonObject object = value.toObject();
        if (object["class"].toString() == className)
            found.append(object);
    }
    return found;
}

QJsonObject TestJourney::widget(const QString &className, const QString &text) const {
    for (const QJsonObject &object : widgets(className)) {
        if (object["text"].toString() == text)
            return object;
    }
    return {};
}

void TestJourney::xdotool(const QStringList &arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    QVERIFY2(process.waitForFinished(5000), qPrintable(arguments.join(' ')));
}

void TestJourney::clickAt(QPoint point) {
    xdotool({"mousemove", QString::number(point.x()), QString::number(point.y())});
    QTest::qWait(50);
    xdotool({"click", "1"});
}

void TestJourney::drag(QPoint from, QPoint to) {
    xdotool({"mousemove", QString::number(from.x()), QString::number(from.y())});
    QTest::qWait(100);
    xdotool({"mousedown", "1"});
    // Moves in small steps, as a hand does, so the drag starts and hover follows the pointer.
    constexpr int steps = 12;
    for (int step = 1; step <= steps; ++step) {
        const QPoint at = from + (to - from) * step / steps;
        xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
        QTest::qWait(30);
    }
    QTest::qWait(150);
    xdotool({"mouseup", "1"});
}

void TestJourney::focusFigma() {
    xdotool({"search", "--sync", "--class", "^com.figma.Desktop$", "windowactivate", "--sync"});
}

void TestJourney::openPanelWithShortcut(const QString &shortcut) {
    xdotool({"key", shortcut});
    QVERIFY2(m_nookery.waitForPanel(true), "the panel did not open");
}

void TestJourney::closePanelByClickingOutside() {
    const QJsonObject popover = report()["popover"].toObject();
    // Left of the panel, on the desktop.
    clickAt({std::max(5, popover["x"].toInt() - 40), popover["y"].toInt() + 200});
    QVERIFY2(m_nookery.waitForPanel(false), "the panel did not close");
}

bool TestJourney::isShownInFolder(const QString &tabID, const QString &folderName) const {
    const QJsonObject section = widget("FolderSectionView", folderName)["rect"].toObject();
    const int top = section["y"].toInt();
    const int bottom = top + section["h"].toInt();
    for (const QJsonObject &row : widgets("TabRowView")) {
        const int y = row["rect"]["y"].toInt();
        if (row["id"].toString() == tabID && y > top && y < bottom)
            return true;
    }
    return false;
}

QJsonObject TestJourney::folder(const QString &id) const {
    QFile file(foldersFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    for (const QJsonValue &value : QJsonDocument::fromJson(file.readAll())["folders"].toArray()) {
        if (value["id"].toString() == id)
            return value.toObject();
    }
    return {};
}

QStringList TestJourney::figmaLog() const {
    QFile log(QDir::home().filePath(QStringLiteral("fake-figma.log")));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

void TestJourney::initTestCase() {
    QVERIFY2(!scratch().isEmpty(), "run through tests/harness/run-test xvfb-tray");

    // Two empty folders, as a user who already made them.
    QDir().mkpath(QFileInfo(foldersFile()).path());
    QFile folders(foldersFile());
    QVERIFY(folders.open(QIODevice::WriteOnly));
    const auto emptyFolder = [](const QString &id, const QString &name) {
        return QJsonObject{
            {"id", id}, {"name", name}, {"tabIDs", QJsonArray()}, {"isExpanded", true}};
    };
    folders.write(
        QJsonDocument(QJsonObject{{"folders", QJsonArray{emptyFolder(inboxID, "Inbox"),
                                                         emptyFolder(archiveID, "Archive")}},
                                  {"ungroupedOrder", QJsonArray()}})
            .toJson(QJsonDocument::Compact));
    folders.close();

    QCOMPARE(QProcess::execute(QStringLiteral(FAKE_FIGMA_BINARY), {"--install-handler"}), 0);
    m_figma.start(QStringLiteral(FAKE_FIGMA_BINARY), QStringList());
    QVERIFY(m_figma.waitForStarted());
    focusFigma();

    QVERIFY(m_nookery.start());
}

void TestJourney::cleanup() {
    if (!QTest::currentTestFailed())
        return;
    const QString shot = QStringLiteral(SCREENSHOT_DIR "/journey-%1.png")
                             .arg(QString::fromLatin1(QTest::currentTestFunction()));
    QProcess::execute(QStringLiteral("import"), {"-window", "root", shot});
    QFile::copy(m_nookery.reportPath(), shot + QStringLiteral(".json"));
    qWarning("screenshot: %s", qPrintable(shot));
}

void TestJourney::cleanupTestCase() {
    m_nookery.stop();
    QProcess::execute(QStringLiteral(FAKE_FIGMA_BINARY), {"--quit"});
    m_figma.waitForFinished(3000);
}

void TestJourney::trayIconAppears() {
    // The icon is Nookery's only window while the panel is closed, embedded in the tray.
    QProcess search;
    QElapsedTimer timer;
    timer.start();
    do {
        search.start(QStringLiteral("xdotool"),
                     {"search", "--onlyvisible", "--class", "^Nookery$"});
        search.waitForFinished();
    } while (search.readAllStandardOutput().trimmed().isEmpty() && timer.elapsed() < 10000 &&
             (QTest::qWait(50), true));
    QVERIFY2(timer.elapsed() < 10000, "no tray icon");
    QVERIFY(!panelVisible());
}

void TestJourney::shortcutOpensWelcomeOverAnotherWindow() {
    focusFigma();
    openPanelWithShortcut();
    QVERIFY(waitFor([this](const QJsonObject &) { return !widgets("WelcomeView").isEmpty(); }));
    // Under the tray icon, inside the screen.
    const QJsonObject popover = report()["popover"].toObject();
    const QJsonObject tray = report()["tray"].toObject();
    QCOMPARE(popover["w"].toInt(), 420);
    QVERIFY(popover["y"].toInt() >= tray["y"].toInt() + tray["h"].toInt());
    QVERIFY(popover["x"].toInt() + 420 <= 1280);
}

void TestJourney::getStartedShowsThePanel() {
    QJsonObject button;
    QVERIFY(waitFor([&](const QJsonObject &) {
        for (const QJsonValue &value : report()["widgets"].toArray()) {
            if (value["text"].toString() == QLatin1String("Get Started"))
                button = value.toObject();
        }
        return !button.isEmpty();
    }));
    clickAt(centreOf(button));
    QVERIFY2(waitFor([this](const QJsonObject &) { return widgets("TabRowView").size() > 5; }),
             "no tab rows after Get Started");
    QVERIFY(panelVisible());
    QVERIFY(QSettings("Nookery", "Nookery").value("Nookery.hasSeenWelcome").toBool());
}

void TestJourney::shortcutOpensWithCursorInSearchField() {
    // The shortcut closes the open panel as well.
    xdotool({"key", "alt+space"});
    QVERIFY2(m_nookery.waitForPanel(false), "the shortcut did not close the panel");
    focusFigma();
    openPanelWithShortcut();
    QVERIFY2(waitFor([](const QJsonObject &r) {
                 return r["focusParent"].toString() == QLatin1String("SearchFieldView");
             }),
             "the search field has no keyboard focus");
}

void TestJourney::typingFiltersAndReturnSwitchesFigma() {
    xdotool({"type", "--delay", "30", "Pricing"});
    QVERIFY2(waitFor([this](const QJsonObject &) {
                 const QList<QJsonObject> rows = widgets("TabRowView");
                 return rows.size() == 1 &&
                        rows[0]["text"].toString() == QLatin1String("Pricing page");
             }),
             "typing did not filter the list to the one matching tab");
    xdotool({"key", "Down"});
    QTest::qWait(100);
    xdotool({"key", "Return"});
    QVERIFY2(m_nookery.waitForPanel(false), "Return did not close the panel");
    QTRY_VERIFY_WITH_TIMEOUT(!figmaLog().isEmpty(), 5000);
    QVERIFY2(figmaLog().constLast().startsWith(QLatin1String("figma://")),
             qPrintable(figmaLog().constLast()));
    QVERIFY2(figmaLog().constLast().endsWith(QLatin1String("/Pricing-page")),
             qPrintable(figmaLog().constLast()));
}

void TestJourney::draggingARowOntoAFolderFilesIt() {
    focusFigma();
    openPanelWithShortcut();
    QJsonObject row;
    QVERIFY(waitFor([&](const QJsonObject &) {
        for (const QJsonObject &candidate : widgets("TabRowView")) {
            if (isOnScreen(candidate))
                row = candidate;
        }
        return !row.isEmpty();
    }));
    const QJsonObject inbox = widget("FolderHeaderDragSourceView", "Inbox");
    QVERIFY2(!inbox.isEmpty(), "no Inbox header");
    const QString id = row["id"].toString();

    drag(centreOf(row), centreOf(inbox));

    QTRY_VERIFY_WITH_TIMEOUT(folder(inboxID)["tabIDs"].toArray().contains(id), 5000);
    QVERIFY2(waitFor([&](const QJsonObject &) { return isShownInFolder(id, "Inbox"); }),
             "the filed tab is not shown in its folder");
}

void TestJourney::ctrlClickedRowsMoveTogether() {
    QVERIFY(panelVisible());
    QVERIFY(waitFor([this](const QJsonObject &) {
        int shown = 0;
        for (const QJsonObject &row : widgets("TabRowView"))
            shown += isOnScreen(row) ? 1 : 0;
        return shown >= 4;
    }));
    // Three rows of the ungrouped section, below the folders.
    QList<QJsonObject> picked;
    const QJsonObject archive = widget("FolderHeaderDragSourceView", "Archive");
    QVERIFY2(!archive.isEmpty(), "no Archive header");
    for (const QJsonObject &row : widgets("TabRowView")) {
        if (isOnScreen(row) && centreOf(row).y() > centreOf(archive).y() && picked.size() < 3)
            picked.append(row);
    }
    QCOMPARE(picked.size(), 3);

    xdotool({"keydown", "ctrl"});
    for (const QJsonObject &row : std::as_const(picked)) {
        clickAt(centreOf(row));
        QTest::qWait(100);
    }
    xdotool({"keyup", "ctrl"});
    drag(centreOf(picked[1]), centreOf(archive));

    QStringList expected;
    for (const QJsonObject &row : std::as_const(picked))
        expected.append(row["id"].toString());
    QTRY_VERIFY_WITH_TIMEOUT(folder(archiveID)["tabIDs"].toArray().size() == 3, 5000);
    QStringList filed;
    for (const QJsonValue &id : folder(archiveID)["tabIDs"].toArray())
        filed.append(id.toString());
    filed.sort();
    expected.sort();
    QCOMPARE(filed, expected);
    QVERIFY2(waitFor([&](const QJsonObject &) { return isShownInFolder(filed[0], "Archive"); }),
             "the filed tabs are not shown in their folder");
}

void TestJourney::closedTabReopensFromRecentlyClosed() {
    closePanelByClickingOutside();
    const QString key = folder(archiveID)["tabIDs"].toArray().at(0).toString();
    QCOMPARE(QProcess::execute(QStringLiteral(FAKE_FIGMA_BINARY), {"--close-tab", key}), 0);

    focusFigma();
    openPanelWithShortcut();
    const auto closedRow = [&] {
        for (const QJsonObject &row : widgets("ClosedTabRowView")) {
            if (row["id"].toString() == key)
                return row;
        }
        return QJsonObject();
    };
    QVERIFY2(waitFor([&](const QJsonObject &) { return !closedRow().isEmpty(); }),
             "the closed tab is not under Recently Closed");
    // The section is at the end of the list: scroll down with the wheel until it shows.
    const QJsonObject popover = report()["popover"].toObject();
    xdotool({"mousemove", QString::number(popover["x"].toInt() + 210),
             QString::number(popover["y"].toInt() + popover["h"].toInt() / 2)});
    for (int turn = 0; turn < 40 && !isOnScreen(closedRow()); ++turn) {
        xdotool({"click", "5"});
        QTest::qWait(40);
    }
    QVERIFY2(isOnScreen(closedRow()), "the closed tab's row is not on screen");
    const int logged = figmaLog().size();
    clickAt(centreOf(closedRow()));
    QTRY_VERIFY_WITH_TIMEOUT(figmaLog().size() > logged, 5000);
    QVERIFY2(figmaLog().constLast().contains(key), qPrintable(figmaLog().constLast()));
}

void TestJourney::recordedShortcutReplacesTheOld() {
    if (panelVisible())
        closePanelByClickingOutside();
    focusFigma();
    openPanelWithShortcut();
    const QJsonObject settings = widget("SymbolButton", "Settings");
    QVERIFY2(!settings.isEmpty(), "no Settings button");
    clickAt(centreOf(settings));
    QJsonObject well;
    QVERIFY2(waitFor([&](const QJsonObject &) {
                 well = widgets("ShortcutWell").value(0);
                 return !well.isEmpty();
             }),
             "no shortcut recorder on the settings page");
    clickAt(centreOf(well));
    QTest::qWait(200);
    xdotool({"key", "ctrl+alt+k"});
    QTRY_COMPARE_WITH_TIMEOUT(
        QSettings("Nookery", "Nookery").value("Nookery.hotkey.keyCode").toInt(), 40, 5000);

    closePanelByClickingOutside();
    focusFigma();
    xdotool({"key", "alt+space"});
    QTest::qWait(700);
    QVERIFY2(!panelVisible(), "the old shortcut still opens the panel");
    openPanelWithShortcut(QStringLiteral("ctrl+alt+k"));
}

void TestJourney::commandLineToggles() {
    if (panelVisible())
        closePanelByClickingOutside();
    QCOMPARE(NookeryProcess::runAgain({"--toggle"}), 0);
    QVERIFY2(m_nookery.waitForPanel(true), "nookery --toggle did not open the panel");
    QCOMPARE(NookeryProcess::runAgain({"--toggle"}), 0);
    QVERIFY2(m_nookery.waitForPanel(false), "nookery --toggle did not close the panel");
    QCOMPARE(m_nookery.process().state(), QProcess::Running);
}

void TestJourney::trayIconClicksToggle() {
    QVERIFY(!panelVisible());
    const QJsonObject tray = report()["tray"].toObject();
    const QPoint icon(tray["x"].toInt() + tray["w"].toInt() / 2,
                      tray["y"].toInt() + tray["h"].toInt() / 2);
    QVERIFY2(tray["w"].toInt() > 0 && !icon.isNull(), "the tray icon's place is unknown");
    // Either button opens the panel; a click on the icon while it is open only closes it.
    for (const QString &button : {QStringLiteral("1"), QStringLiteral("3")}) {
        xdotool({"mousemove", QString::number(icon.x()), QString::number(icon.y())});
        xdotool({"click", button});
        QVERIFY2(m_nookery.waitForPanel(true),
                 qPrintable("button " + button + " did not open the panel"));
        QTest::qWait(300);
        xdotool({"click", button});
        QVERIFY2(m_nookery.waitForPanel(false),
                 qPrintable("button " + button + " did not close the panel"));
        QTest::qWait(500);
        QVERIFY2(!panelVisible(), qPrintable("button " + button + " reopened the panel"));
    }
}

void TestJourney::idleIsSilentAfterUse() {
    // Just after a tab was opened from the keyboard, which closed the panel.
    QVERIFY(!panelVisible());
    QTest::qWait(1000);
    const qint64 before = m_nookery.contextSwitches();
    QTest::qWait(3000);
    // A timer left running (a blinking cursor, an animation) wakes the program several times a
    // second; a closed panel must not wake it at all.
    QVERIFY2(
        m_nookery.contextSwitches() - before < 3,
        qPrintable(QStringLiteral("%1 wake-ups in 3 s").arg(m_nookery.contextSwitches() - before)));
}

void TestJourney::quitFromSettings() {
    openPanelWithShortcut(QStringLiteral("ctrl+alt+k"));
    QJsonObject settings = widget("SymbolButton", "Settings");
    if (!settings.isEmpty())
        clickAt(centreOf(settings));
    QJsonObject quit;
    QVERIFY2(waitFor([&](const QJsonObject &) {
                 for (const QJsonValue &value : report()["widgets"].toArray()) {
                     if (value["text"].toString() == QLatin1String("Quit Nookery") &&
                         isOnScreen(value.toObject()))
                         quit = value.toObject();
                 }
                 return !quit.isEmpty();
             }),
             "no Quit Nookery button on the settings page");
    clickAt(centreOf(quit));
    QVERIFY2(m_nookery.process().waitForFinished(5000), "Nookery did not quit");
    QCOMPARE(m_nookery.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_nookery.process().exitCode(), 0);
}

void TestJourney::toggleStartsNookeryWhenNotRunning() {
    QVERIFY(m_nookery.start({"--toggle"}));
    QVERIFY2(m_nookery.waitForPanel(true), "nookery --toggle did not start with its panel open");
    // A plain second start hands over to the running one and closes its panel.
    QCOMPARE(NookeryProcess::runAgain({}), 0);
    QVERIFY(m_nookery.waitForPanel(false));
}

QTEST_GUILESS_MAIN(TestJourney)
#include "tst_journey.moc"
