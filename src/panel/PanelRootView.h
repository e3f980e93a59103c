#pragma once

#include "panel/PanelContext.h"

#include <QPointer>
#include <QWidget>

class MenuBarView;
#include "settings/WelcomeView.h"

// The panel window's content: the welcome screen until the user has seen it, then the panel.
// It is 420 wide and always as tall as what it shows; it resizes itself (and, as a window, its
// window) whenever that changes, and emits heightChanged() after.
class PanelRootView : public QWidget {
    Q_OBJECT
public:
    explicit PanelRootView(const PanelContext &context, QWidget *parent = nullptr);

    // Null while the welcome screen is shown.
    MenuBarView *menuBarView() const { return m_menuBar; }
    // Null once the panel is shown.
    WelcomeView *welcomeView() const { return m_welcome; }

signals:
    void heightChanged(int height);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPanel();

    PanelContext m_context;
    QPointer<WelcomeView> m_welcome;
    QPointer<MenuBarView> m_menuBar;
};
