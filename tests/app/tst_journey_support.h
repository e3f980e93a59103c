#pragma once

// The real nookery binary as end-to-end tests drive it: started with a geometry report in the
// test's throw-away session, read through that report and folders.json, poked with xdotool,
// measured in /proc.

#include "support/TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

inline QByteArray xdotool(const QStringList &arguments) {
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    process.waitForFinished(5000);
    return process.readAllStandardOutput().trimmed();
}

// The icon is Nookery's only window while the panel is closed, embedded in the tray.
inline bool trayIconShown() {
    return !xdotool({"search", "--onlyvisible", "--class", "^Nookery$"}).isEmpty();
}

inline QRect rectOf(const QJsonValue &rect) {
    return {rect["x"].toInt(), rect["y"].toInt(), rect["w"].toInt(), rect["h"].toInt()};
}

inline bool isOnScreen(const QJsonObject &widget) {
    const QRect visible = rectOf(widget["visibleRect"]);
    return visible.width() > 4 && visible.height() > 4;
}

// A report's widgets by class and by a key ("text", "id"), on screen or anywhere; empty matches
// any.
inline QList<QJsonObject> widgetsIn(const QJsonObject &report, const QString &className,
                                    const QString &value = {}, const char *key = "text",
                                    bool onScreenOnly = false) {
    QList<QJsonObject> found;
    for (const QJsonValue &widget : report["widgets"].toArray()) {
        if ((className.isEmpty() || widget["class"] == className) &&
            (value.isEmpty() || widget[QLatin1String(key)] == value) &&
            (!onScreenOnly || isOnScreen(widget.toObject())))
            found.append(widget.toObject());
    }
    return found;
}

inline const QString foldersFile = qEnvironmentVariable("XDG_DATA_HOME") + "/Nookery/folders.json";

// The tabs folders.json files in one folder or, with no folder named, anywhere.
inline QStringList
filedIn(const QString &folderID = {},
        const QJsonDocument &folders = QJsonDocument::fromJson(readFile(foldersFile))) {
    QStringList ids =
        folderID.isEmpty() ? folders["ungroupedOrder"].toVariant().toStringList() : QStringList();
    for (const QJsonValue &folder : folders["folders"].toArray()) {
        if (folderID.isEmpty() || folder["id"] == folderID)
            ids += folder["tabIDs"].toVariant().toStringList();
    }
    return ids;
}

class NookeryProcess {
public:
    const QString reportPath = qEnvironmentVariable("NOOKERY_TEST_SCRATCH") + "/geometry.json";
    QProcess process;

    bool start(const QStringList &arguments = {}) {
        if (!qEnvironmentVariableIsSet("NOOKERY_TEST_SCRATCH")) {
            qWarning("run through tests/harness/run-test");
            return false;
        }
        QFile::remove(reportPath);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("NOOKERY_TEST_GEOMETRY_FILE"), reportPath);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(NOOKERY_BINARY), arguments);
        return process.waitForStarted() && QTest::qWaitFor([this] { return !report().isEmpty(); });
    }

    void stop() {
        process.terminate();
        process.waitForFinished(3000);
    }

    // A second invocation, as from a terminal or a desktop shortcut; its exit code.
    static int runAgain(const QStringList &arguments) {
        QProcess again;
        again.start(QStringLiteral(NOOKERY_BINARY), arguments);
        return again.waitForFinished(10000) ? again.exitCode() : -1;
    }

    QJsonObject report() const { return QJsonDocument::fromJson(readFile(reportPath)).object(); }

    bool panelVisible() const { return report()["popoverVisible"].toBool(); }
    // Open means ready for input: shown is not yet mapped, nor holding the pointer.
    bool waitForPanel(bool open) const {
        return QTest::qWaitFor(
            [&] {
                const QJsonObject now = report();
                return now["popoverVisible"].toBool() == open &&
                       (!open || now["popoverActive"].toBool());
            },
            10000);
    }
    // Nothing opens the panel for a while: what a step that must not open it is checked with.
    bool staysClosed() const {
        return !QTest::qWaitFor([&] { return panelVisible(); }, 700);
    }

    // Context switches of all its threads in 3 s of leaving it alone: a timer left running (a
    // blinking cursor, an animation, polling) wakes it several times a second.
    qint64 wakeupsWhileIdle() const {
        QTest::qWait(1000);
        const qint64 before = contextSwitches();
        QTest::qWait(3000);
        return contextSwitches() - before;
    }

private:
    qint64 contextSwitches() const {
        qint64 sum = 0;
        const QDir tasks(QStringLiteral("/proc/%1/task").arg(process.processId()));
        for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            for (const auto &match : QRegularExpression("ctxt_switches:\\s*(\\d+)")
                                         .globalMatch(readFile(tasks.filePath(task + "/status"))))
                sum += match.captured(1).toLongLong();
        }
        return sum;
    }
};
