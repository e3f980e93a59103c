#pragma once

#include <QWidget>
#include <functional>

class AutostartService;
class QCheckBox;
class QScrollArea;
class QToolButton;
class SpotlightSearchController;
class UpdaterManager;

// The settings page of the panel: start at login, the global shortcut, update checking, the
// version and quitting. `onClose` brings the panel's normal content back.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    SettingsView(SpotlightSearchController &hotkey, UpdaterManager &updater,
                 AutostartService &autostart, std::function<void()> onClose,
                 QWidget *parent = nullptr);
    ~SettingsView() override;

    static constexpr int panelWidth = 420;

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildSections(SpotlightSearchController &hotkey);
    QWidget *section(const QString &title, QLayout *row);
    void applyIconColour();

    UpdaterManager &m_updater;
    AutostartService &m_autostart;
    std::function<void()> m_onClose;
    QCheckBox *m_startAtLogin = nullptr;
    QToolButton *m_back = nullptr;
    QScrollArea *m_scroll = nullptr;
};
