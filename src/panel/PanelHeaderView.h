#pragma once

#include <QWidget>

class RoleLabel;
class SymbolButton;

// The panel's top row: icon, "Nookery", the count of open tabs and the New Folder button.
class PanelHeaderView : public QWidget {
    Q_OBJECT
public:
    explicit PanelHeaderView(QWidget *parent = nullptr);

    void setTabCount(qsizetype count);
    QString tabCountText() const;
    SymbolButton *newFolderButton() const { return m_newFolderButton; }

signals:
    void newFolderRequested();

private:
    RoleLabel *m_count;
    SymbolButton *m_newFolderButton;
};
