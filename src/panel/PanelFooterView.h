#pragma once

#include <QWidget>

class RoleLabel;
class SymbolButton;

// The panel's bottom row: which shortcut opens the panel, and the settings button.
class PanelFooterView : public QWidget {
    Q_OBJECT
public:
    explicit PanelFooterView(QWidget *parent = nullptr);

    // The shortcut's display string, e.g. "Alt+Space".
    void setShortcut(const QString &displayString);
    QString hintText() const;
    SymbolButton *settingsButton() const { return m_settingsButton; }

signals:
    void settingsRequested();

private:
    RoleLabel *m_hint;
    SymbolButton *m_settingsButton;
};
