#include "panel/MenuBarView.h"
#include "panel/PanelRootView.h"
#include "panel/SearchFieldView.h"
#include "tst_menubarviewcontext.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

class PanelRootViewTest : public QObject {
    Q_OBJECT
private slots:
    void welcomeUntilSeenThenThePanel() {
        PanelTestContext env;
        PanelRootView root(env.context);
        root.show();
        QVERIFY(root.welcomeView());
        QVERIFY(!root.menuBarView());
        QCOMPARE(root.width(), 420);

        QSignalSpy resized(&root, &PanelRootView::heightChanged);
        const auto buttons = root.welcomeView()->findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 1); // "Get Started"
        buttons.first()->click();
        QVERIFY(env.onboarding.hasSeenWelcome());
        QVERIFY(root.menuBarView());
        QTRY_VERIFY(!root.welcomeView());
        QTRY_COMPARE(root.height(), root.menuBarView()->sizeHint().height());
        QVERIFY(!resized.isEmpty());
    }

    void heightFollowsThePanel() {
        PanelTestContext env;
        env.onboarding.setHasSeenWelcome(true);
        PanelRootView root(env.context);
        root.show();
        QVERIFY(!root.welcomeView());
        QVERIFY(root.menuBarView());
        const int emptyHeight = root.height();

        QSignalSpy resized(&root, &PanelRootView::heightChanged);
        QStringList keys;
        for (int i = 0; i < 30; ++i)
            keys.append(QStringLiteral("t%1").arg(i));
        env.setOpenTabs(RowsTestContext::tabs(keys));
        QTRY_VERIFY(!resized.isEmpty());
        QTRY_COMPARE(root.height(), root.menuBarView()->sizeHint().height());
        QVERIFY(root.height() != emptyHeight);
    }
};

QTEST_MAIN(PanelRootViewTest)
#include "tst_panelrootview.moc"
