#include "hotkey/SpotlightSearchController.h"
#include "platform/FakeAutostartService.h"
#include "settings/OnboardingStore.h"
#include "settings/SettingsView.h"
#include "settings/UpdateDialog.h"
#include "settings/UpdateDialogPresenter.h"
#include "settings/UpdaterManager.h"
#include "settings/VersionText.h"
#include "settings/WelcomeView.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>

namespace {

// Pictures for looking at, written only when NOOKERY_SCREENSHOT_DIR names a folder.
void saveScreenshot(QWidget &widget, const QString &name) {
    const QString folder = qEnvironmentVariable("NOOKERY_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

template <typename Widget> Widget *childWithText(QWidget &root, const QString &text) {
    for (auto *child : root.findChildren<Widget *>()) {
        if (child->text() == text)
            return child;
    }
    return nullptr;
}

QLabel *labelWithText(QWidget &root, const QString &text) {
    return childWithText<QLabel>(root, text);
}

QPushButton *buttonWithText(QWidget &root, const QString &text) {
    return childWithText<QPushButton>(root, text);
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

class TestSettingsViews : public QObject {
    Q_OBJECT

    std::unique_ptr<SpotlightSearchController> m_hotkey;
    std::unique_ptr<UpdaterManager> m_updater;
    FakeAutostartService m_autostart;
    int m_closeCount = 0;

    std::unique_ptr<SettingsView> makeSettings() {
        auto view = std::make_unique<SettingsView>(*m_hotkey, *m_updater, m_autostart,
                                                   [this] { ++m_closeCount; });
        view->resize(SettingsView::panelWidth, 460);
        return view;
    }

    static UpdateDialog *openDialog() {
        for (auto *widget : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<UpdateDialog *>(widget); dialog && dialog->isVisible())
                return dialog;
        }
        return nullptr;
    }

private slots:
    void init() {
        QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery")).clear();
        m_hotkey = std::make_unique<SpotlightSearchController>(nullptr);
        m_updater = std::make_unique<UpdaterManager>(
            UpdaterConfig{QUrl(), QStringLiteral("45"), QStringLiteral("1.2")});
        m_autostart = FakeAutostartService();
        m_closeCount = 0;
    }

    void cleanup() {
        m_updater.reset();
        for (auto *widget : QApplication::topLevelWidgets())
            widget->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void settingsShowsTheLoginItemStateOnEveryAppearance() {
        m_autostart.setEnabled(true);
        auto view = makeSettings();
        view->show();
        auto *toggle = view->findChild<QCheckBox *>();
        QCOMPARE(toggle->text(), QStringLiteral("Start at login"));
        QVERIFY(toggle->isChecked());

        view->hide();
        m_autostart.setEnabled(false);
        view->show();
        QVERIFY(!toggle->isChecked());
        QCOMPARE(m_autostart.changeCount(), 2);
    }

    void togglingChangesTheLoginItemAndKeepsTheUsersChoiceOnFailure() {
        auto view = makeSettings();
        view->show();
        auto *toggle = view->findChild<QCheckBox *>();
        QTest::mouseClick(toggle, Qt::LeftButton);
        QTRY_VERIFY(m_autostart.isEnabled());

        m_autostart.setFailing(true);
        QTest::mouseClick(toggle, Qt::LeftButton);
        QTRY_COMPARE(m_autostart.changeCount(), 2);
        QVERIFY(!toggle->isChecked());
        QVERIFY(m_autostart.isEnabled());
    }

    void withoutAServiceTheXdgAutostartEntryIsUsed() {
        SettingsView view(*m_hotkey, *m_updater, [] {});
        view.show();
        QTest::mouseClick(view.findChild<QCheckBox *>(), Qt::LeftButton);
        const QString entry =
            qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/autostart/nookery.desktop");
        QTRY_VERIFY(QFile::exists(entry));
        QTest::mouseClick(view.findChild<QCheckBox *>(), Qt::LeftButton);
        QTRY_VERIFY(!QFile::exists(entry));
    }

    void backButtonCloses() {
        auto view = makeSettings();
        view->show();
        auto *back = view->findChild<QToolButton *>();
        QCOMPARE(back->size(), QSize(28, 28));
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(m_closeCount, 1);
    }

    void sectionsAndTextsAsDesigned() {
        auto view = makeSettings();
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        QCOMPARE(view->width(), 420);
        for (const char *text : {"Settings", "GENERAL", "SHORTCUT", "UPDATES", "ABOUT",
                                 "Open Nookery", "Get the latest version of Nookery."})
            QVERIFY2(labelWithText(*view, QString::fromUtf8(text)), text);
        QVERIFY(labelWithText(*view, currentVersionText()));
        QCOMPARE(labelWithText(*view, QStringLiteral("Settings"))->font().pixelSize(), 17);
        QCOMPARE(labelWithText(*view, QStringLiteral("GENERAL"))->font().pixelSize(), 11);
        QVERIFY(buttonWithText(*view, QStringLiteral("Quit Nookery")));

        // The header: 12 above and below the 28-point back button.
        auto *back = view->findChild<QToolButton *>();
        QCOMPARE(back->mapTo(view.get(), QPoint(0, 0)), QPoint(14, 12));
        saveScreenshot(*view, QStringLiteral("settings"));
    }

    void checkForUpdatesAnswersInItsOwnWindow() {
        auto view = makeSettings();
        view->show();
        QTest::mouseClick(buttonWithText(*view, QStringLiteral("Check for Updates")),
                          Qt::LeftButton);
        UpdateDialog *dialog = openDialog();
        QVERIFY(dialog);
        QCOMPARE(dialog->headline(), QStringLiteral("Updates come from your package manager"));

        // A second check replaces the first answer instead of piling windows up.
        QTest::mouseClick(buttonWithText(*view, QStringLiteral("Check for Updates")),
                          Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int visible = 0;
        for (auto *widget : QApplication::topLevelWidgets())
            visible += qobject_cast<UpdateDialog *>(widget) && widget->isVisible();
        QCOMPARE(visible, 1);
    }

    void scheduledChecksShowOnlyNewVersionsOnce() {
        auto *presenter = UpdateDialogPresenter::ensureFor(*m_updater);
        QCOMPARE(UpdateDialogPresenter::ensureFor(*m_updater), presenter);
        UpdateCheckResult result;
        result.outcome = UpdateCheckResult::Outcome::Failed;
        result.error = QStringLiteral("offline");
        emit m_updater->checkFinished(result);
        QVERIFY(!presenter->currentDialog());

        result.outcome = UpdateCheckResult::Outcome::UpdateAvailable;
        result.item.version = QStringLiteral("46");
        emit m_updater->checkFinished(result);
        QVERIFY(presenter->currentDialog());
        presenter->currentDialog()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        emit m_updater->checkFinished(result);
        QVERIFY(!presenter->currentDialog());
    }

    void updateDialogTexts_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("headline");
        QTest::addColumn<QString>("message");
        QTest::newRow("up to date")
            << int(UpdateCheckResult::Outcome::UpToDate) << "You’re up to date!"
            << "Nookery 1.2 is currently the newest version available.";
        QTest::newRow("newer") << int(UpdateCheckResult::Outcome::UpdateAvailable)
                               << "A new version of Nookery is available!"
                               << "Nookery 1.3 is now available — you have 1.2.";
        QTest::newRow("error") << int(UpdateCheckResult::Outcome::Failed) << "Update Error!"
                               << "Nookery could not check for updates. The server is down.";
    }

    void updateDialogTexts() {
        QFETCH(int, outcome);
        QFETCH(QString, headline);
        QFETCH(QString, message);
        UpdateCheckResult result;
        result.outcome = UpdateCheckResult::Outcome(outcome);
        result.item.shortVersion = QStringLiteral("1.3");
        result.item.downloadUrl = QUrl(QStringLiteral("https://example.org/nookery.tar.gz"));
        result.error = QStringLiteral("The server is down.");
        auto *dialog = new UpdateDialog(result, QStringLiteral("1.2"));
        dialog->show();
        QCOMPARE(dialog->headline(), headline);
        QCOMPARE(dialog->message(), message);
        QVERIFY(labelWithText(*dialog, message));
        saveScreenshot(*dialog, QStringLiteral("update-") +
                                    QString::fromUtf8(QTest::currentDataTag())
                                        .replace(QLatin1Char(' '), QLatin1Char('-')));
        dialog->close();
    }

    void downloadOpensTheLink() {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        UpdateCheckResult result;
        result.outcome = UpdateCheckResult::Outcome::UpdateAvailable;
        result.item.version = QStringLiteral("46");
        result.item.downloadUrl = QUrl(QStringLiteral("https://example.org/nookery.tar.gz"));
        auto *dialog = new UpdateDialog(result, QStringLiteral("1.2"));
        dialog->show();
        QTest::mouseClick(buttonWithText(*dialog, QStringLiteral("Download")), Qt::LeftButton);
        QCOMPARE(catcher.opened, QList<QUrl>{result.item.downloadUrl});
        QVERIFY(!dialog->isVisible());
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    void welcomeShowsTheShortcutAndFollowsIt() {
        OnboardingStore onboarding;
        WelcomeView view(*m_hotkey, onboarding);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.width(), 420);
        for (const char *text : {"Welcome to Nookery", "OPEN ANYTIME WITH", "⌥ Space",
                                 "You can change this in Settings."})
            QVERIFY2(labelWithText(view, QString::fromUtf8(text)), text);
        auto *button = buttonWithText(view, QStringLiteral("Get Started"));
        QCOMPARE(button->width(), 420 - 2 * 32);
        QCOMPARE(view.height() - (button->y() + button->height()), 24);
        saveScreenshot(view, QStringLiteral("welcome"));

        m_hotkey->setBinding({40, 0x300});
        QVERIFY(labelWithText(view, QStringLiteral("⇧ ⌘ K")));
    }

    void getStartedAndReturnRecordTheWelcome_data() {
        QTest::addColumn<bool>("useReturn");
        QTest::newRow("button") << false;
        QTest::newRow("return") << true;
    }

    void getStartedAndReturnRecordTheWelcome() {
        QFETCH(bool, useReturn);
        OnboardingStore onboarding;
        WelcomeView view(*m_hotkey, onboarding);
        view.show();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        if (useReturn)
            QTest::keyClick(&view, Qt::Key_Return);
        else
            QTest::mouseClick(buttonWithText(view, QStringLiteral("Get Started")), Qt::LeftButton);
        QVERIFY(onboarding.hasSeenWelcome());
        QVERIFY(OnboardingStore().hasSeenWelcome());
    }
};

QTEST_MAIN(TestSettingsViews)
#include "tst_settingsviews.moc"
