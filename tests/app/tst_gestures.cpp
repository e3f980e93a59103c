// Finds the press that outlives its row: a tab row held while the list changes under it (Figma
// closes a tab above it, or a letter goes into the search), then a move starts a drag of the
// tab at the old row number: a crash, or the wrong file dragged. Seeded random gestures with a
// real pointer and keyboard (XTest) on the real program, Figma's session file rewritten
// underneath; after each, the program lives, folders.json parses and names only tabs the session
// had, and the shortcut opens the panel. NOOKERY_GESTURES sets how many (`make soak`: thousands),
// NOOKERY_GESTURE_SEED replays a failed run.

#include "harness/FakeFigma.h"
#include "support/XTestInput.h"
#include "tst_journey_support.h"

#include <QSettings>
#include <random>

namespace {

enum Keysym : xcb_keysym_t {
    BackSpace = 0xff08,
    Return = 0xff0d,
    Escape = 0xff1b,
    Up = 0xff52,
    Down = 0xff54,
    Control = 0xffe3,
    Alt = 0xffe9,
    Space = 0x20
};

struct SessionTab {
    QString key;
    QString title;
};

// Figma's open tabs as fake-figma last wrote them; a path is "/design/<key>/<name>".
QList<SessionTab> sessionTabs() {
    QList<SessionTab> tabs;
    const QJsonDocument session = QJsonDocument::fromJson(readFile(FakeFigma::sessionFilePath()));
    for (const QJsonValue &window : session["windows"].toArray()) {
        for (const QJsonValue &tab : window["tabs"].toArray())
            tabs.append({tab["path"].toString().section('/', 2, 2), tab["title"].toString()});
    }
    return tabs;
}

QList<QJsonObject> shown(const QJsonObject &report, const QString &className) {
    return widgetsIn(report, className, {}, "text", true);
}

QStringList shownIDs(const QJsonObject &report) {
    QStringList ids;
    for (const QJsonObject &row : shown(report, "TabRowView"))
        ids.append(row["id"].toString());
    return ids;
}

} // namespace

class TestGestures : public QObject {
    Q_OBJECT
    NookeryProcess m_nookery;
    FakeFigma m_figma{QStringLiteral(FAKE_FIGMA_BINARY)};
    XTestInput m_input;
    std::mt19937 m_random;
    QHash<QString, QString> m_knownTabs; // every file the session has had: key → title
    QSet<int> m_held;                    // buttons down
    QStringList m_log;                   // the gestures so far, the last shown on failure
    int m_newFiles = 0;

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    bool chance(double probability) { return std::bernoulli_distribution(probability)(m_random); }
    QPoint pointIn(const QRect &rect) {
        return rect.topLeft() +
               QPoint(pick(std::max(1, rect.width())), pick(std::max(1, rect.height())));
    }

    // Mostly on rows; never on the settings button, whose page could check for updates or quit.
    QPoint target(const QJsonObject &report) {
        const QList<QJsonObject> rows = shown(report, "TabRowView");
        const QList<QJsonObject> folders = shown(report, "FolderSectionView");
        for (;;) {
            QPoint point = pointIn(rectOf(report["popover"]));
            if (const int where = pick(10); where < 6 && !rows.isEmpty())
                point = pointIn(rectOf(rows[pick(int(rows.size()))]["visibleRect"]));
            else if (where < 8 && !folders.isEmpty())
                point = pointIn(rectOf(folders[pick(int(folders.size()))]["visibleRect"]));
            const QJsonArray widgets = report["widgets"].toArray();
            const bool onSettings =
                std::any_of(widgets.begin(), widgets.end(), [&](const QJsonValue &widget) {
                    return (widget["text"] == "Settings" || widget["text"] == "Quit Nookery") &&
                           rectOf(widget["rect"]).adjusted(-2, -2, 2, 2).contains(point);
                });
            if (!onSettings)
                return point;
        }
    }

    void button(int number, bool down) {
        m_input.button(number, down);
        if (down)
            m_held.insert(number);
        else
            m_held.remove(number);
        m_log.append(QStringLiteral("button %1 %2 at %3,%4")
                         .arg(number)
                         .arg(down ? "down" : "up")
                         .arg(m_input.pointer().x())
                         .arg(m_input.pointer().y()));
    }
    void tap(xcb_keysym_t keysym) {
        m_input.key(keysym, true);
        m_input.key(keysym, false);
        m_log.append(QStringLiteral("key %1").arg(keysym, 0, 16));
    }
    void moveTo(QPoint point) {
        m_input.moveTo(point);
        m_log.append(QStringLiteral("move to %1,%2").arg(point.x()).arg(point.y()));
    }

    void press(const QJsonObject &report) {
        moveTo(target(report));
        const bool control = chance(0.1);
        if (control)
            m_input.key(Control, true);
        button(1, true);
        if (control)
            m_input.key(Control, false);
    }
    // A hand's tremor (under the drag threshold), a short move or one across the panel.
    void move(const QJsonObject &report) {
        if (const int reach = pick(10); reach < 7) {
            const int step = reach < 4 ? 2 : 8;
            moveTo(m_input.pointer() +
                   QPoint(pick(2 * step + 1) - step, pick(2 * step + 1) - step));
            return;
        }
        const QPoint from = m_input.pointer();
        const QPoint to = target(report);
        const int steps = 1 + pick(4);
        for (int step = 1; step <= steps; ++step)
            moveTo(from + (to - from) * step / steps);
    }
    void otherButton() {
        const int number = 2 + pick(2);
        button(number, true);
        if (chance(0.7))
            button(number, false);
    }
    void wheel() {
        const int notch = chance(0.5) ? 4 : 5;
        for (int turns = 1 + pick(3); turns > 0; --turns) {
            button(notch, true);
            button(notch, false);
        }
    }
    void key() {
        // Common letters narrow the search a little, rare ones to nothing.
        static constexpr xcb_keysym_t letters[] = {'a', 'e', 'n', 'o', 's',
                                                   't', 'k', 'q', 'x', 'z'};
        static constexpr xcb_keysym_t others[] = {BackSpace, BackSpace, Up,    Down,
                                                  Down,      Return,    Escape};
        tap(chance(m_held.contains(1) ? 0.8 : 0.3) ? letters[pick(std::size(letters))]
                                                   : others[pick(std::size(others))]);
    }
    void clickOutside(const QJsonObject &report) {
        const QRect popover = rectOf(report["popover"]);
        moveTo({std::max(5, popover.x() - 40), popover.y() + pick(std::max(1, popover.height()))});
        button(1, true);
        button(1, false);
    }

    // Figma closes, opens or moves a tab; waits until the panel shows the change, when it can.
    void rewriteSession(const QJsonObject &report) {
        const QList<SessionTab> open = sessionTabs();
        QString closed;
        QString opened;
        const int what = pick(10);
        if (what < 5 && open.size() > 3) {
            closed = open[pick(int(open.size()))].key;
            QVERIFY(m_figma.run({"--close-tab", closed}));
        } else {
            const SessionTab tab =
                what < 8 || open.isEmpty() ? newOrClosedTab(open) : open[pick(int(open.size()))];
            if (what >= 8)
                QVERIFY(m_figma.run({"--close-tab", tab.key}));
            opened = tab.key;
            QVERIFY(m_figma.run({"--open-tab", tab.key, tab.title, QString::number(pick(3))}));
        }
        m_log.append(QStringLiteral("session: closed %1, opened %2").arg(closed, opened));
        for (const SessionTab &tab : sessionTabs())
            m_knownTabs.insert(tab.key, tab.title);
        if (!report["popoverVisible"].toBool())
            return;
        (void)QTest::qWaitFor(
            [&] {
                const QStringList ids = shownIDs(m_nookery.report());
                return !ids.contains(closed) && (opened.isEmpty() || ids.contains(opened));
            },
            1000);
    }
    SessionTab newOrClosedTab(const QList<SessionTab> &open) {
        QStringList closed = m_knownTabs.keys();
        closed.removeIf([&](const QString &key) {
            return std::any_of(open.begin(), open.end(),
                               [&](const SessionTab &tab) { return tab.key == key; });
        });
        if (!closed.isEmpty() && chance(0.5)) {
            const QString key = closed[pick(int(closed.size()))];
            return {key, m_knownTabs[key]};
        }
        ++m_newFiles;
        return {QStringLiteral("Gesture%1").arg(m_newFiles),
                QStringLiteral("Gesture file %1 – Figma").arg(m_newFiles)};
    }

    void releaseAll() {
        for (const int number : QSet<int>(m_held))
            button(number, false);
    }
    // As a user reopens it: the hand off the mouse, then the shortcut.
    bool openPanel() {
        releaseAll();
        m_input.key(Alt, true);
        tap(Space);
        m_input.key(Alt, false);
        return m_nookery.waitForPanel(true);
    }

    // What is wrong after a gesture, or nothing.
    QString fault() const {
        QCoreApplication::processEvents();
        if (m_nookery.process.state() == QProcess::NotRunning)
            return m_nookery.process.exitStatus() == QProcess::CrashExit
                       ? QStringLiteral("nookery crashed")
                       : QStringLiteral("nookery exited with %1").arg(m_nookery.process.exitCode());
        const QByteArray bytes = readFile(foldersFile);
        if (bytes.isEmpty())
            return {};
        QJsonParseError error{};
        const QJsonDocument folders = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !folders.isObject())
            return QStringLiteral("folders.json does not parse: ") + error.errorString();
        for (const QString &id : filedIn({}, folders)) {
            if (!m_knownTabs.contains(id))
                return QStringLiteral("folders.json names a tab Figma never had: ") + id;
        }
        return {};
    }
    QByteArray failure(quint32 seed, int gesture, const QString &what) const {
        return QStringLiteral(
                   "%1 after gesture %2 of seed %3; replay with NOOKERY_GESTURE_SEED=%3. "
                   "The last events:\n  %4")
            .arg(what)
            .arg(gesture)
            .arg(seed)
            .arg(m_log.mid(std::max<qsizetype>(0, m_log.size() - 25)).join("\n  "))
            .toUtf8();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_input.connected());
        QSettings("Nookery", "Nookery").setValue("Nookery.hasSeenWelcome", true);
        QVERIFY(m_figma.run({"--install-handler"}));
        QVERIFY(m_figma.start({"--background"}));
        for (const SessionTab &tab : sessionTabs())
            m_knownTabs.insert(tab.key, tab.title);
        QVERIFY(m_nookery.start());
        QTRY_VERIFY_WITH_TIMEOUT(m_nookery.report()["shortcutRegistered"].toBool(), 10000);
    }
    void cleanupTestCase() { m_nookery.stop(); }

    // A crash, a damaged folders.json or a tab Figma never had filed, after a press that
    // outlived its row.
    void randomGesturesKeepTheProgramAndItsFilesWhole() {
        const quint32 seed = qEnvironmentVariableIsSet("NOOKERY_GESTURE_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("NOOKERY_GESTURE_SEED"))
                                 : std::random_device()();
        const int gestures = qEnvironmentVariableIsSet("NOOKERY_GESTURES")
                                 ? qEnvironmentVariableIntValue("NOOKERY_GESTURES")
                                 : 500;
        qInfo("seed %u, %d gestures", seed, gestures);
        m_random.seed(seed);
        for (int gesture = 1; gesture <= gestures; ++gesture) {
            QJsonObject report = m_nookery.report();
            if (!report["popoverVisible"].toBool()) {
                QVERIFY2(
                    openPanel(),
                    failure(
                        seed, gesture,
                        m_input.keyboardGrabbed()
                            ? "the shortcut did not open the panel; the keyboard is held by a grab"
                            : "the shortcut did not open the panel"));
                report = m_nookery.report();
            }
            // Held, the button sees more of what changes the list under it.
            const bool holding = m_held.contains(1);
            std::discrete_distribution<int> kinds =
                holding ? std::discrete_distribution<int>{2, 30, 8, 4, 6, 30, 18, 2}
                        : std::discrete_distribution<int>{24, 30, 4, 4, 10, 14, 12, 2};
            switch (kinds(m_random)) {
            case 0:
                press(report);
                break;
            case 1:
                move(report);
                break;
            case 2:
                button(1, false);
                break;
            case 3:
                otherButton();
                break;
            case 4:
                wheel();
                break;
            case 5:
                key();
                break;
            case 6:
                rewriteSession(report);
                break;
            default:
                clickOutside(report);
            }
            m_input.sync();
            if (QTest::currentTestFailed())
                return;
            const QString wrong = fault();
            QVERIFY2(wrong.isEmpty(), failure(seed, gesture, wrong));
        }
    }
};

QTEST_GUILESS_MAIN(TestGestures)
#include "tst_gestures.moc"
