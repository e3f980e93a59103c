// The tab manager on the real desktop: inotify on the session file, EWMH under Xvfb and
// fake-figma as the Figma app and the figma: URL handler.

#include "harness/FakeFigma.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/x11/X11Workspace.h"
#include "tabs/SessionFileLocation.h"
#include "tabs/TabManager.h"

#include <QElapsedTimer>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {

// How soon a change of the session file must show in the list: the settle time and a read.
constexpr int followMs = 300;

// A one-tab session whose file key is `key`, written as Electron saves: its folders made, then
// the file renamed into place.
bool writeSession(const QString &path, const QString &key) {
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(
               QStringLiteral(R"({"windows":[{"tabs":[{"title":"T","path":"/design/%1/T"}]}]})")
                   .arg(key)
                   .toUtf8()) > 0 &&
           file.commit();
}

bool listsKey(const QList<TabItem> &tabs, const QString &key) {
    return std::any_of(tabs.cbegin(), tabs.cend(),
                       [&](const TabItem &tab) { return tab.stableID() == key; });
}

} // namespace

class TabManagerLiveTest : public QObject {
    Q_OBJECT

    InotifyFileWatcher fileWatcher;
    X11Workspace *workspace = nullptr;
    // Waits until the list has followed a change made just before; fails after followMs.
    template <typename Condition> static bool follows(Condition condition) {
        QElapsedTimer since;
        since.start();
        while (!condition()) {
            if (since.elapsed() > followMs)
                return false;
            QTest::qWait(5);
        }
        qInfo("followed after %lld ms", since.elapsed());
        return true;
    }

    // Starts fake-figma and then the manager as the app shell does; true once the list shows
    // the sample session.
    static bool startWithFigma(FakeFigma &figma, TabManager &manager) {
        if (!figma.start())
            return false;
        manager.refresh();
        manager.startFileMonitor();
        return QTest::qWaitFor([&] { return manager.tabs().size() == 25; }, 5000);
    }

private slots:
    void init() { workspace = new X11Workspace; }
    void cleanup() {
        delete workspace;
        QFile::remove(FakeFigma::sessionFilePath());
        QFile::remove(FakeFigma::macSessionFilePath());
    }

    void listFollowsTheSessionFile() {
        FakeFigma figma(FAKE_FIGMA_PATH);
        TabManager manager(fileWatcher, *workspace);
        QVERIFY(startWithFigma(figma, manager));
        const QString closing = manager.tabs().at(3).stableID();
        // fake-figma saves by renaming a new file over the old one.
        QVERIFY(figma.run({"--close-tab", closing}));
        QVERIFY(follows([&] { return !listsKey(manager.tabs(), closing); }));

        QVERIFY(figma.run({"--open-tab", "NewKey1", "Fresh – Figma", "2"}));
        QVERIFY(follows([&] { return listsKey(manager.tabs(), "NewKey1"); }));

        // Written in place.
        const QString path = FakeFigma::sessionFilePath();
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(R"({"windows":[{"tabs":[{"title":"Only","path":"/design/OnlyKey/Only"}]}]})");
        file.close();
        QVERIFY(follows([&] { return manager.tabs().size() == 1; }));

        QVERIFY(QFile::remove(path));
        QVERIFY(follows([&] { return manager.tabs().isEmpty(); }));

        // Created again later, as when Figma starts after Nookery.
        QTest::qWait(100);
        QVERIFY(figma.run({"--open-tab", "NewKey2", "Again – Figma"}));
        QVERIFY(follows([&] { return listsKey(manager.tabs(), "NewKey2"); }));
    }

    // Nookery runs before Figma ever did: nothing of Figma's in the home folder, not even
    // ~/.config. The session file then appears at one place, or at a place ranked above the one
    // read, and is listed as soon as a change of the file would be.
    void sessionFileAppearing_data() {
        QTest::addColumn<QString>("before"); // below the home folder; empty: none
        QTest::addColumn<QString>("appearing");
        const QString linux = ".config/Figma/settings.json";
        const QString mac = "Library/Application Support/Figma/settings.json";
        QTest::newRow("first start of the Linux client") << "" << linux;
        QTest::newRow("macOS layout, then the Linux client") << mac << linux;
        QTest::newRow("named by NOOKERY_FIGMA_SETTINGS") << linux << "custom/settings.json";
    }
    void sessionFileAppearing() {
        QFETCH(QString, before);
        QFETCH(QString, appearing);
        QTemporaryDir scratch;
        const QDir home(scratch.filePath("home"));
        QVERIFY(home.mkpath("."));
        const QByteArray savedHome = qgetenv("HOME");
        const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", savedHome);
            qputenv("XDG_CONFIG_HOME", savedConfig);
            qunsetenv(sessionFileVariable);
        });
        qputenv("HOME", QFile::encodeName(home.path()));
        qunsetenv("XDG_CONFIG_HOME");
        qputenv(sessionFileVariable, QFile::encodeName(home.filePath("custom/settings.json")));
        if (!before.isEmpty())
            QVERIFY(writeSession(home.filePath(before), "Before"));

        TabManager manager(fileWatcher, *workspace);
        manager.refresh();
        manager.startFileMonitor();
        QTRY_COMPARE(manager.tabs().size(), before.isEmpty() ? 0 : 1);
        QVERIFY(writeSession(home.filePath(appearing), "Appeared"));
        QVERIFY(follows([&] { return listsKey(manager.tabs(), "Appeared"); }));
        QVERIFY(manager.missingSessionFiles().isEmpty());
    }

    void openTabReachesFigma() {
        QVERIFY(QProcess::execute(FAKE_FIGMA_PATH, {"--install-handler"}) == 0);
        FakeFigma figma(FAKE_FIGMA_PATH);
        TabManager manager(fileWatcher, *workspace);
        QVERIFY(startWithFigma(figma, manager));
        const TabItem tab = manager.tabs().at(5);
        QVERIFY(!tab.isActive);

        manager.openTab(tab);
        const QString path = QUrl(tab.url).path();
        QVERIFY(path.startsWith("/design/" + tab.stableID() + "/"));
        QTRY_COMPARE(FakeFigma::loggedUrls(), QStringList{"figma://" + path});
        // Figma shows the tab, and the list follows.
        QTRY_VERIFY(manager.tabs().at(5).isActive);
    }
};

QTEST_MAIN(TabManagerLiveTest)
#include "tst_tabmanager_live.moc"
