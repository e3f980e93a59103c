#pragma once

#include <QWidget>

class RoleLabel;
class SpotlightSearchController;
class SymbolButton;

// The panel's bottom row: which shortcut opens the panel, or that it is unavailable, and the
// settings button.
class PanelFooterView : public QWidget {
    Q_OBJECT
public:
    // Follows the shortcut of `hotkey`; without one, the default shortcut is named.
    explicit PanelFooterView(const SpotlightSearchController *hotkey, QWidget *parent = nullptr);

    QString hintText() const;
    SymbolButton *settingsButton() const { return m_settingsButton; }

signals:
    void settingsRequested();

private:
    void showShortcut();

    const SpotlightSearchController *m_hotkey;
    RoleLabel *m_hint;
    SymbolButton *m_settingsButton;
};
