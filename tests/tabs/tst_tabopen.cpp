#include "platform/FakeFileWatcher.h"
#include "platform/FakeWorkspace.h"
#include "tabs/TabManager.h"

#include <QTest>

using namespace std::chrono_literals;

namespace {
const RunningApplication figma{"fake-figma", "com.figma.Desktop"};
const RunningApplication otherFigma{"figma-beta", "com.figma.Desktop"};
const RunningApplication editor{"kate", "kate"};
} // namespace

class TabOpenTest : public QObject {
    Q_OBJECT
private slots:
    void figmaUrl_data() {
        QTest::addColumn<QString>("tabUrl");
        QTest::addColumn<QString>("expected");
        QTest::newRow("path") << "https://www.figma.com/d/AbC123/Untitled"
                              << "figma:///d/AbC123/Untitled";
        QTest::newRow("query and fragment dropped")
            << "https://www.figma.com/d/K/Name?node-id=1-2#frame"
            << "figma:///d/K/Name";
        QTest::newRow("decoded and re-encoded") << "https://www.figma.com/d/K/A%20B%C3%A9"
                                                << "figma:///d/K/A%20B%C3%A9";
        QTest::newRow("encoded question mark stays in the path")
            << "https://www.figma.com/d/K/What%3F"
            << "figma:///d/K/What%3F";
        QTest::newRow("no path") << "https://www.figma.com"
                                 << "figma://";
        QTest::newRow("empty url") << ""
                                   << "";
        QTest::newRow("unparsable url") << "http://[::1"
                                        << "";
    }
    void figmaUrl() {
        QFETCH(QString, tabUrl);
        QFETCH(QString, expected);
        const QUrl url = TabOpener::figmaUrl(TabItem("figma-0-0", "t", tabUrl, false));
        QCOMPARE(url.toString(QUrl::FullyEncoded), expected);
    }

    void openTabHandsOverTheUrlAndRefreshesLater() {
        FakeFileWatcher watcher;
        FakeWorkspace workspace;
        workspace.running = {figma};
        int reads = 0;
        auto options = TabManager::Options::standard();
        options.readSessionTabs = [&reads](const QString &) {
            ++reads;
            return QList<TabItem>{};
        };
        options.openRefreshDelay = 100ms;
        TabManager manager(watcher, workspace, options);

        manager.openTab(TabItem("figma-0-0", "t", "https://www.figma.com/d/K/N", false));
        QCOMPARE(workspace.openedUrls, QList<QUrl>{QUrl("figma:///d/K/N")});
        QVERIFY(workspace.activated.isEmpty());
        QTest::qWait(50);
        QCOMPARE(reads, 0);
        QTRY_COMPARE(reads, 1);
    }

    void fallbackActivatesTheFirstRunningFigma_data() {
        QTest::addColumn<QList<RunningApplication>>("running");
        QTest::addColumn<QList<RunningApplication>>("activated");
        QTest::newRow("figma running")
            << QList{editor, otherFigma, figma} << QList<RunningApplication>{otherFigma};
        QTest::newRow("figma not running") << QList{editor} << QList<RunningApplication>{};
    }
    void fallbackActivatesTheFirstRunningFigma() {
        QFETCH(QList<RunningApplication>, running);
        QFETCH(QList<RunningApplication>, activated);
        FakeFileWatcher watcher;
        FakeWorkspace workspace;
        workspace.running = running;
        int reads = 0;
        auto options = TabManager::Options::standard();
        options.readSessionTabs = [&reads](const QString &) {
            ++reads;
            return QList<TabItem>{};
        };
        options.openRefreshDelay = 10ms;
        TabManager manager(watcher, workspace, options);

        // A recently closed tab with no stored URL, and one whose URL does not parse.
        manager.openTab(TabItem("closed-K", "t", "", false));
        manager.openTab(TabItem("closed-L", "t", "http://[::1", false));
        QTest::qWait(50);
        QVERIFY(workspace.openedUrls.isEmpty());
        QCOMPARE(workspace.activated, activated + activated);
        QCOMPARE(reads, 0);
    }
};

QTEST_GUILESS_MAIN(TabOpenTest)
#include "tst_tabopen.moc"
