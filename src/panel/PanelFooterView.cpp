#include "panel/PanelFooterView.h"

#include "hotkey/SpotlightSearchController.h"
#include "panel/SymbolButton.h"
#include "panel/model/PanelTexts.h"
#include "ui/RoleLabel.h"

#include <QHBoxLayout>

PanelFooterView::PanelFooterView(const SpotlightSearchController *hotkey, QWidget *parent)
    : QWidget(parent)
    , m_hotkey(hotkey)
    , m_hint(new RoleLabel(QString(), Style::font(11), Style::Role::Tertiary, this))
    , m_settingsButton(
          new SymbolButton(QStringLiteral("gearshape"), 13, Style::Role::Secondary, 1.0, this)) {
    m_settingsButton->setToolTip(QStringLiteral("Settings"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 10, 18, 10);
    layout->setSpacing(14);
    layout->addWidget(m_hint);
    layout->addStretch(1);
    layout->addWidget(m_settingsButton);
    connect(m_settingsButton, &QAbstractButton::clicked, this, &PanelFooterView::settingsRequested);
    if (m_hotkey) {
        connect(m_hotkey, &SpotlightSearchController::statusChanged, this,
                &PanelFooterView::showShortcut);
    }
    showShortcut();
}

void PanelFooterView::showShortcut() {
    // A key that does nothing is not advertised; Settings says why.
    if (m_hotkey && m_hotkey->isDead()) {
        m_hint->setText(QStringLiteral("Shortcut unavailable, see Settings"));
        return;
    }
    m_hint->setText(PanelTexts::openHint(
        m_hotkey ? m_hotkey->shortcutText() : displayString(HotkeyBinding::defaultBinding())));
}

QString PanelFooterView::hintText() const {
    return m_hint->text();
}
