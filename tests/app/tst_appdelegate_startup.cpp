// The real delegate with its real stores, started in a throw-away home without a display.

#include "app/AppDelegate.h"
#include "app/PanelPopover.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString recentlyClosedFile() {
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Nookery/recently_closed.json");
}

QStringList rememberedIDs() {
    QFile file(recentlyClosedFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList ids;
    for (const QJsonValue &entry : QJsonDocument::fromJson(file.readAll()).array())
        ids.append(entry["stableID"].toString());
    return ids;
}

QJsonObject closedTab(const QString &stableID) {
    const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return {{"stableID", stableID},
            {"title", "T " + stableID},
            {"url", "https://www.figma.com/design/" + stableID + "/f"},
            {"closedDate", reference.secsTo(QDateTime::currentDateTimeUtc()) - 60.0}};
}

} // namespace

class TestAppDelegateStartup : public QObject {
    Q_OBJECT
private slots:
    void firstRefresh_alreadyReportsToTheRecentlyClosedStore() {
        // KEYA was closed a minute ago and is open again; KEYC stays closed.
        writeFile(QDir::home().filePath("Library/Application Support/Figma/settings.json"),
                  R"({"windows":[{"tabs":[{"title":"Again – Figma","path":"/design/KEYA/Again"},
                                          {"title":"Other – Figma","path":"/design/KEYB/Other"}]}]})");
        writeFile(recentlyClosedFile(),
                  QJsonDocument(QJsonArray{closedTab("KEYA"), closedTab("KEYC")}).toJson());

        AppDelegate delegate;
        QCOMPARE(AppDelegate::shared(), nullptr);
        delegate.applicationWillFinishLaunching();
        QCOMPARE(AppDelegate::shared(), &delegate);
        QVERIFY(delegate.statusItem());
        QVERIFY(delegate.popover());
        QVERIFY(!delegate.popover()->isShown());
        QCOMPARE(rememberedIDs(), (QStringList{"KEYA", "KEYC"}));

        delegate.applicationDidFinishLaunching();
        QTRY_COMPARE(rememberedIDs(), QStringList{"KEYC"});
    }

    void shared_isEmptyOnceTheDelegateIsGone() {
        {
            AppDelegate delegate;
            delegate.applicationWillFinishLaunching();
            QVERIFY(AppDelegate::shared());
        }
        QCOMPARE(AppDelegate::shared(), nullptr);
    }

    void statusItemClick_togglesThePanel() {
        AppDelegate delegate;
        delegate.applicationWillFinishLaunching();
        delegate.applicationDidFinishLaunching();
        delegate.statusItemClicked();
        QVERIFY(delegate.popover()->isShown());
        delegate.statusItemClicked();
        QVERIFY(!delegate.popover()->isShown());
        delegate.statusItemClicked();
        delegate.closePanel();
        QVERIFY(!delegate.popover()->isShown());
    }
};

int main(int argc, char *argv[]) {
    QCoreApplication::setOrganizationName(QStringLiteral("Nookery"));
    QCoreApplication::setApplicationName(QStringLiteral("Nookery"));
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestAppDelegateStartup test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_appdelegate_startup.moc"
