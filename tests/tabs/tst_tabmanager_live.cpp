// The tab manager on the real desktop: inotify on the session file, EWMH under Xvfb and
// fake-figma as the Figma app.

#include "harness/FakeFigma.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "platform/x11/X11Workspace.h"
#include "support/TestFiles.h"
#include "support/TestTabs.h"
#include "tabs/SessionFileLocation.h"
#include "tabs/TabManager.h"

#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// How soon a change of the session file must show in the list: the settle time and a read.
constexpr int followMs = 300;

QByteArray sessionOf(const QString &key) {
    return QStringLiteral(R"({"windows":[{"tabs":[{"title":"T","path":"/design/%1/T"}]}]})")
        .arg(key)
        .toUtf8();
}

} // namespace

class TabManagerLiveTest : public QObject {
    Q_OBJECT

    InotifyFileWatcher fileWatcher;
    X11Workspace workspace;

private slots:
    // Tabs closed, opened, rewritten or deleted in Figma show in the list within the settle time.
    void listFollowsTheSessionFile() {
        FakeFigma figma(FAKE_FIGMA_PATH);
        TabManager manager(fileWatcher, workspace);
        QVERIFY(figma.start());
        manager.refresh();
        manager.startFileMonitor();
        QTRY_COMPARE(manager.tabs().size(), 25);
        const QString closing = manager.tabs().at(3).stableID();
        // fake-figma saves by renaming a new file over the old one.
        QVERIFY(figma.run({"--close-tab", closing}));
        QTRY_VERIFY_WITH_TIMEOUT(!stableIDsOf(manager.tabs()).contains(closing), followMs);
        QVERIFY(figma.run({"--open-tab", "NewKey1", "Fresh – Figma", "2"}));
        QTRY_VERIFY_WITH_TIMEOUT(stableIDsOf(manager.tabs()).contains("NewKey1"), followMs);

        const QString path = FakeFigma::sessionFilePath();
        QVERIFY(writeFile(path, sessionOf("Only"))); // in place
        QTRY_VERIFY_WITH_TIMEOUT(manager.tabs().size() == 1, followMs);
        QVERIFY(QFile::remove(path));
        QTRY_VERIFY_WITH_TIMEOUT(manager.tabs().isEmpty(), followMs);
        // Created again later, as when Figma starts after Nookery.
        QVERIFY(!QTest::qWaitFor([&] { return !manager.tabs().isEmpty(); }, 100));
        QVERIFY(figma.run({"--open-tab", "NewKey2", "Again – Figma"}));
        QTRY_VERIFY_WITH_TIMEOUT(stableIDsOf(manager.tabs()).contains("NewKey2"), followMs);
    }

    // Nookery runs before Figma ever did: nothing of Figma's in the home folder, not even
    // ~/.config. The session file then appears at one place, or at a place ranked above the one
    // read, and is listed as soon as a change of the file would be. Last: it moves the home.
    void sessionFileAppearing() {
        const QString linux = ".config/Figma/settings.json";
        const QString mac = "Library/Application Support/Figma/settings.json";
        // Below the home folder: what is there before (empty: nothing), then what appears.
        for (const auto &[before, appearing] : {std::pair{QString(), linux},
                                                {mac, linux},
                                                {linux, QString("custom/settings.json")}}) {
            QTemporaryDir scratch;
            const QDir home(scratch.filePath("home"));
            QVERIFY(home.mkpath("."));
            qputenv("HOME", QFile::encodeName(home.path()));
            qunsetenv("XDG_CONFIG_HOME");
            qputenv(sessionFileVariable, QFile::encodeName(home.filePath("custom/settings.json")));
            if (!before.isEmpty())
                QVERIFY(writeFile(home.filePath(before), sessionOf("Before")));

            TabManager manager(fileWatcher, workspace);
            manager.refresh();
            manager.startFileMonitor();
            QTRY_COMPARE(manager.tabs().size(), before.isEmpty() ? 0 : 1);
            // The panel names every place looked at while none holds the file.
            QTRY_COMPARE(manager.missingSessionFiles(),
                         before.isEmpty() ? sessionFileCandidates() : QStringList());
            // Written as Electron saves: its folders made, then the file renamed into place.
            QVERIFY(QDir().mkpath(QFileInfo(home.filePath(appearing)).path()));
            QSaveFile file(home.filePath(appearing));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(sessionOf("Appeared")) > 0);
            QVERIFY(file.commit());
            QTRY_VERIFY_WITH_TIMEOUT(stableIDsOf(manager.tabs()).contains("Appeared"), followMs);
            QVERIFY(manager.missingSessionFiles().isEmpty());
        }
    }
};

QTEST_MAIN(TabManagerLiveTest)
#include "tst_tabmanager_live.moc"
