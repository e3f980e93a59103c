#include "harness/FakeFigma.h"
#include "platform/x11/X11Workspace.h"

#include <QProcess>
#include <QTest>
#include <QWindow>

namespace {

// fake-figma's windows carry the Linux client's WM_CLASS: instance "figma", class "Figma".
const QString figmaIdentifier = QStringLiteral("Figma");

// The workspace's reports about one application, in order, as short words.
class ActivityLog : public QObject {
public:
    ActivityLog(Workspace &workspace, QString identifier)
        : m_identifier(std::move(identifier)) {
        record(workspace, &Workspace::applicationLaunched, "launched");
        record(workspace, &Workspace::applicationTerminated, "terminated");
        record(workspace, &Workspace::applicationActivated, "activated");
        record(workspace, &Workspace::applicationDeactivated, "deactivated");
    }
    QStringList events;

private:
    void record(Workspace &workspace, void (Workspace::*signal)(const RunningApplication &),
                const QString &word) {
        connect(&workspace, signal, this, [this, word](const RunningApplication &application) {
            if (application.hasIdentifier(m_identifier))
                events.append(word);
        });
    }
    QString m_identifier;
};

// Makes a test's window the active one as a pager would ask, so openbox's focus-stealing
// prevention cannot refuse it the way it may refuse a window's own request. Asks again while
// the window manager has not taken the new window on yet.
bool activateWindow(QWindow &window) {
    if (!window.isVisible()) {
        window.resize(200, 100);
        window.show();
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
        QProcess::execute("xdotool", {"windowactivate", QString::number(window.winId())});
        if (QTest::qWaitForWindowActive(&window, 250))
            return true;
    }
    return false;
}

} // namespace

class X11WorkspaceTest : public QObject {
    Q_OBJECT

private slots:
    // Each launch, switch and quit of Figma is reported as what it is, or the list misses
    // the change: Figma quitting while active is a termination, not a deactivation.
    void figmaLifeIsReportedOnceEach() {
        QWindow own;
        QVERIFY(activateWindow(own));
        X11Workspace workspace;
        ActivityLog log(workspace, figmaIdentifier);

        FakeFigma figma(FAKE_FIGMA_PATH);
        QVERIFY(figma.start());
        QTRY_COMPARE(log.events, (QStringList{"launched", "activated"}));
        const auto running = workspace.runningApplications();
        const auto found = std::find_if(running.cbegin(), running.cend(), [](const auto &app) {
            return app.hasIdentifier(figmaIdentifier);
        });
        QVERIFY(found != running.cend());
        QCOMPARE(found->instanceName, QStringLiteral("figma"));
        QCOMPARE(found->className, QStringLiteral("Figma"));

        QVERIFY(activateWindow(own));
        QTRY_COMPARE(log.events.size(), 3);
        workspace.activate(*found);
        QTRY_COMPARE(log.events.size(), 4);
        QVERIFY(figma.quit());
        QTRY_COMPARE(log.events.size(), 5);
        QCOMPARE(log.events,
                 (QStringList{"launched", "activated", "deactivated", "activated", "terminated"}));
    }
};

QTEST_MAIN(X11WorkspaceTest)
#include "tst_x11workspace.moc"
