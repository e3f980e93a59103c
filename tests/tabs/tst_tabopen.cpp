#include "platform/FakeFileWatcher.h"
#include "platform/FakeWorkspace.h"
#include "tabs/TabManager.h"

#include <QTest>

using namespace std::chrono_literals;

namespace {
const RunningApplication figma{"fake-figma", "com.figma.Desktop"};
const RunningApplication otherFigma{"figma-beta", "com.figma.Desktop"};
const RunningApplication editor{"kate", "kate"};

// A manager on a fake desktop with these applications running, counting its re-reads.
struct Desktop {
    Desktop(const QList<RunningApplication> &running, std::chrono::milliseconds openRefreshDelay)
        : manager(watcher, workspace, options(openRefreshDelay)) {
        workspace.running = running;
    }
    TabManager::Options options(std::chrono::milliseconds openRefreshDelay) {
        auto options = TabManager::Options::standard();
        options.readSessionTabs = [this](const QString &) {
            ++reads;
            return QList<TabItem>{};
        };
        options.openRefreshDelay = openRefreshDelay;
        return options;
    }

    FakeFileWatcher watcher;
    FakeWorkspace workspace;
    int reads = 0;
    TabManager manager;
};

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
        Desktop desktop({figma}, 100ms);
        desktop.manager.openTab(TabItem("figma-0-0", "t", "https://www.figma.com/d/K/N", false));
        QCOMPARE(desktop.workspace.openedUrls, QList<QUrl>{QUrl("figma:///d/K/N")});
        QVERIFY(desktop.workspace.activated.isEmpty());
        QTest::qWait(50);
        QCOMPARE(desktop.reads, 0);
        QTRY_COMPARE(desktop.reads, 1);
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
        Desktop desktop(running, 10ms);
        // A recently closed tab with no stored URL, and one whose URL does not parse.
        desktop.manager.openTab(TabItem("closed-K", "t", "", false));
        desktop.manager.openTab(TabItem("closed-L", "t", "http://[::1", false));
        QTest::qWait(50);
        QVERIFY(desktop.workspace.openedUrls.isEmpty());
        QCOMPARE(desktop.workspace.activated, activated + activated);
        QCOMPARE(desktop.reads, 0);
    }
};

QTEST_GUILESS_MAIN(TabOpenTest)
#include "tst_tabopen.moc"
