#include "hotkey/SpotlightSearchController.h"
#include "settings/OnboardingStore.h"
#include "settings/SettingsView.h"
#include "settings/UpdateDialog.h"
#include "settings/UpdaterManager.h"
#include "settings/WelcomeView.h"
#include "support/FakeAutostartService.h"
#include "support/FakeGlobalKeyGrabber.h"
#include "support/TestWindows.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QVBoxLayout>

namespace {

template <typename Widget = QPushButton> Widget *withText(QWidget &root, const QString &text) {
    for (auto *child : root.findChildren<Widget *>()) {
        if (child->text() == text)
            return child;
    }
    return nullptr;
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

// The settings page with start at login, the update dialogs and the welcome screen.
class TestSettingsViews : public QObject {
    Q_OBJECT

    FakeGlobalKeyGrabber *m_grabber = nullptr;
    std::unique_ptr<SpotlightSearchController> m_hotkey;
    std::unique_ptr<UpdaterManager> m_updater;
    FakeAutostartService m_autostart;
    std::unique_ptr<SettingsView> m_settings;

    QCheckBox *startAtLogin() const { return m_settings->findChild<QCheckBox *>(); }

private slots:
    void init() {
        QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery")).clear();
        auto grabber = std::make_unique<FakeGlobalKeyGrabber>();
        m_grabber = grabber.get();
        m_hotkey = std::make_unique<SpotlightSearchController>(std::move(grabber));
        m_updater = std::make_unique<UpdaterManager>(UpdaterConfig{QUrl(), "45", "1.2"});
        m_autostart = FakeAutostartService();
        m_settings = std::make_unique<SettingsView>(*m_hotkey, *m_updater, m_autostart, [] {});
    }

    void cleanup() {
        m_settings.reset();
        m_updater.reset();
        for (auto *widget : QApplication::topLevelWidgets())
            widget->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The login check box shows the entry as it is, also after a change that failed.
    void startAtLoginShowsTheStateOnEveryAppearanceAndKeepsItOnFailure() {
        m_autostart.setEnabled(true);
        m_settings->show();
        QVERIFY(startAtLogin()->isChecked());
        m_settings->hide();
        m_autostart.setEnabled(false);
        m_settings->show();
        QVERIFY(!startAtLogin()->isChecked());

        QTest::mouseClick(startAtLogin(), Qt::LeftButton);
        QTRY_VERIFY(m_autostart.isEnabled());
        m_autostart.setFailing(true);
        QTest::mouseClick(startAtLogin(), Qt::LeftButton);
        QTRY_COMPARE(m_autostart.changeCount(), 4);
        QVERIFY(!startAtLogin()->isChecked());
        QVERIFY(m_autostart.isEnabled());
    }

    // A note that came after the page was shown (Reset to a chord another program holds) left
    // the panel as tall as before, the page scrolled inside it.
    void thePanelGrowsWithTheShortcutNote() {
        QWidget panel; // as the popover holds the page: at the size its content asks for
        auto *layout = new QVBoxLayout(&panel);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->addWidget(m_settings.get());
        m_hotkey->setBinding({40, HotkeyBinding::controlBit | HotkeyBinding::shiftBit});
        m_hotkey->configure();
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const int before = panel.height();
        m_grabber->setTaken({57, Qt::AltModifier}); // Space
        m_hotkey->setBinding(HotkeyBinding::defaultBinding());
        QTRY_VERIFY(panel.height() > before);
        QCOMPARE(m_settings->findChild<QScrollArea *>()->verticalScrollBar()->maximum(), 0);
        layout->removeWidget(m_settings.get());
        m_settings->setParent(nullptr);
    }

    // Two clicks on Check for Updates answer in one window, not two.
    void checkForUpdatesAnswersInOneWindow() {
        m_settings->show();
        for (int check = 0; check < 2; ++check)
            QTest::mouseClick(withText(*m_settings, "Check for Updates"), Qt::LeftButton);
        const auto dialogs = visibleWindows<UpdateDialog>();
        QCOMPARE(dialogs.size(), 1);
        QCOMPARE(dialogs[0]->headline(), QStringLiteral("Updates come from your package manager"));
    }

    // The feed's version and the server's error text are the network's: shown as they are, never
    // as markup that could load an image or hide words; Download opens the feed's link.
    void updateDialogsShowTheNetworksTextsLiterally() {
        const QString text = QStringLiteral("<img src=/dev/zero> &lt;b&gt;");
        const QUrl link(QStringLiteral("https://example.org/nookery.tar.gz"));
        UpdateCheckResult result;
        result.outcome = UpdateCheckResult::Outcome::Failed;
        result.item = {"", "46", text, link};
        result.error = text;
        UpdateDialog failed(result, "1.2");
        result.outcome = UpdateCheckResult::Outcome::UpdateAvailable;
        UpdateDialog available(result, "1.2");
        for (auto [dialog, message] :
             {std::pair{&failed, "Nookery could not check for updates. " + text},
              std::pair{&available, "Nookery " + text + " is now available — you have 1.2."}}) {
            dialog->show();
            const auto *label = withText<QLabel>(*dialog, message);
            QVERIFY2(label && label->textFormat() == Qt::PlainText, qPrintable(message));
        }
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        QTest::mouseClick(withText(available, "Download"), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.opened, QList<QUrl>{link});
        QVERIFY(!available.isVisible());
    }

    // The welcome names the shortcut in use, not a stale one, and Return dismisses it for good: a
    // keyboard user is never stuck on it.
    void welcomeShowsTheShortcutAndReturnPressesGetStarted() {
        OnboardingStore onboarding;
        WelcomeView view(*m_hotkey, onboarding);
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QVERIFY(withText<QLabel>(view, "Alt+Space"));
        m_hotkey->setBinding({40, 0x300});
        QVERIFY(withText<QLabel>(view, "Shift+Super+K"));

        QVERIFY(!onboarding.hasSeenWelcome());
        QTest::keyClick(&view, Qt::Key_Return);
        QVERIFY(OnboardingStore().hasSeenWelcome());
    }
};

QTEST_MAIN(TestSettingsViews)
#include "tst_settingsviews.moc"
