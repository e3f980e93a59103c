#pragma once

#include <QWidget>

class OnboardingStore;
class QLabel;
class QPushButton;
class SpotlightSearchController;

// The first-run screen: what Nookery does, the shortcut that opens it, and "Get Started"
// (also Return), which records that the welcome was seen.
class WelcomeView : public QWidget {
    Q_OBJECT
public:
    WelcomeView(SpotlightSearchController &hotkey, OnboardingStore &onboarding,
                QWidget *parent = nullptr);

    static constexpr int panelWidth = 420;

protected:
    void changeEvent(QEvent *event) override;

private:
    QWidget *buildShortcutBlock(SpotlightSearchController &hotkey);
    void applyColours();

    QLabel *m_icon = nullptr;
    QLabel *m_shortcut = nullptr;
    QPushButton *m_getStarted = nullptr;
};
