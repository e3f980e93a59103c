#pragma once

#include <QWidget>

class RoleLabel;
class TabManager;

// Shown when Figma has no tabs open and nothing was closed recently. When there is no session
// file at all, a small line says where it was looked for, so an unusual install can be pointed at.
class EmptyStateView : public QWidget {
    Q_OBJECT
public:
    explicit EmptyStateView(const TabManager &tabManager, QWidget *parent = nullptr);

    QString lookedForText() const;

private:
    void updateLookedFor();

    const TabManager &m_tabManager;
    RoleLabel *m_lookedFor;
};
