#include "panel/PanelRootView.h"

#include "panel/MenuBarView.h"
#include "settings/OnboardingStore.h"
#include "settings/WelcomeView.h"

#include <QResizeEvent>
#include <QVBoxLayout>

PanelRootView::PanelRootView(const PanelContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The view takes exactly its content's size; as a window, the window follows.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    OnboardingStore *onboarding = context.onboardingStore;
    if (!onboarding || onboarding->hasSeenWelcome() || !context.hotkey) {
        showPanel();
        return;
    }
    m_welcome = new WelcomeView(*context.hotkey, *onboarding, this);
    layout->addWidget(m_welcome);
    connect(onboarding, &OnboardingStore::hasSeenWelcomeChanged, this, [this](bool seen) {
        if (seen && !m_menuBar)
            showPanel();
    });
}

void PanelRootView::showPanel() {
    if (m_welcome) {
        // Later: the welcome's own button is still being handled.
        layout()->removeWidget(m_welcome);
        m_welcome->hide();
        m_welcome->deleteLater();
    }
    m_menuBar = new MenuBarView(m_context, this);
    layout()->addWidget(m_menuBar);
    m_menuBar->show();
    m_menuBar->focusSearchField();
}

void PanelRootView::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (event->size().height() != event->oldSize().height())
        emit heightChanged(event->size().height());
}
