// The panel's window and the real delegate with its real stores, in a throw-away home, offscreen.

#include "app/AppDelegate.h"
#include "app/PanelPopover.h"
#include "app/StatusItem.h"
#include "settings/UpdateDialog.h"
#include "settings/UpdaterManager.h"
#include "support/TestFiles.h"
#include "support/TestWindows.h"

#include <QApplication>
#include <QCursor>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QTest>

class TestAppWidgets : public QObject {
    Q_OBJECT
private slots:
    // A panel grown taller than the screen runs off it, its search field out of reach.
    void popover_staysOnScreenAsItsContentResizes() {
        auto *panel = new QWidget;
        panel->setFixedHeight(300);
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        PanelPopover popover(
            panel, [&] { return QRect(available.center().x(), available.top(), 22, 22); });
        popover.present();
        panel->setFixedHeight(available.height() + 100);
        const int edges = 2 * PanelPopover::edgeWidth;
        QTRY_COMPARE(popover.height(), available.height() + 100 + edges);
        QCOMPARE(popover.y(), available.top());
        panel->setFixedHeight(200);
        QTRY_COMPARE(popover.height(), 200 + edges);
        QVERIFY(available.contains(popover.geometry()));
    }

    // On a tray that does not say where its icon is (StatusNotifierItem hosts), the panel opening
    // away from the click, or a second click not closing it.
    void trayClickWithoutIconPlaceOpensAtThePointer() {
        AppDelegate delegate;
        delegate.applicationWillFinishLaunching();
        QVERIFY(delegate.statusItem()->geometry().isEmpty());
        const QPoint pointer(300, 50);
        QCursor::setPos(pointer);
        emit delegate.statusItem()->clicked();
        QTRY_VERIFY(delegate.popover()->isShown());
        const QRect panel = delegate.popover()->geometry();
        QVERIFY2(qAbs(panel.center().x() - pointer.x()) <= 1 && panel.top() > pointer.y() &&
                     panel.top() < pointer.y() + 10,
                 qPrintable(QStringLiteral("panel at %1,%2").arg(panel.x()).arg(panel.y())));
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(panel));
        emit delegate.statusItem()->clicked();
        QTRY_VERIFY(!delegate.popover()->isShown());
    }

    // A file reopened while Nookery was not running still listed under Recently Closed.
    void firstRefresh_alreadyReportsToTheRecentlyClosedStore() {
        // KEYA was closed a minute ago and is open again; KEYC stays closed.
        const QString recentlyClosedFile =
            qEnvironmentVariable("XDG_DATA_HOME") + "/Nookery/recently_closed.json";
        QVERIFY(writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Figma/settings.json",
                          R"({"windows":[{"tabs":[{"title":"A","path":"/design/KEYA/A"}]}]})"));
        const double ago = QDateTime::currentSecsSinceEpoch() - 978307200 - 60; // since 2001
        QJsonArray closed;
        for (const QString id : {"KEYA", "KEYC"}) {
            const QString url = "https://www.figma.com/design/" + id + "/f";
            closed.append(
                QJsonObject{{"stableID", id}, {"title", id}, {"url", url}, {"closedDate", ago}});
        }
        QVERIFY(writeFile(recentlyClosedFile, QJsonDocument(closed).toJson()));
        {
            AppDelegate delegate;
            delegate.applicationWillFinishLaunching();
            QCOMPARE(AppDelegate::shared(), &delegate);
            QVERIFY(readFile(recentlyClosedFile).contains("KEYA"));

            delegate.applicationDidFinishLaunching();
            QTRY_VERIFY(!readFile(recentlyClosedFile).contains("KEYA"));
            QVERIFY(readFile(recentlyClosedFile).contains("KEYC"));
        }
        QCOMPARE(AppDelegate::shared(), nullptr);
    }

    // A scheduled check's news lost when the settings page was never opened, shown twice, or a
    // failed check shown at all.
    void scheduledUpdateNewsIsShownOnceWithoutTheSettingsPage() {
        AppDelegate delegate;
        delegate.applicationWillFinishLaunching();
        UpdateCheckResult news;
        news.outcome = UpdateCheckResult::Outcome::Failed;
        emit delegate.updaterManager()->checkFinished(news);
        QVERIFY(visibleWindows<UpdateDialog>().isEmpty());
        news.outcome = UpdateCheckResult::Outcome::UpdateAvailable;
        news.item.version = QStringLiteral("99");
        emit delegate.updaterManager()->checkFinished(news);
        QTRY_COMPARE(visibleWindows<UpdateDialog>().size(), 1);
        visibleWindows<UpdateDialog>().constFirst()->close();
        emit delegate.updaterManager()->checkFinished(news);
        QVERIFY(visibleWindows<UpdateDialog>().isEmpty());
    }
};

int main(int argc, char *argv[]) {
    QCoreApplication::setOrganizationName(QStringLiteral("Nookery"));
    QCoreApplication::setApplicationName(QStringLiteral("Nookery"));
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestAppWidgets test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_app_widgets.moc"
