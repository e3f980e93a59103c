#include "panel/PanelFooterView.h"

#include "panel/SymbolButton.h"
#include "panel/model/PanelTexts.h"
#include "ui/RoleLabel.h"

#include <QHBoxLayout>

PanelFooterView::PanelFooterView(QWidget *parent)
    : QWidget(parent)
    , m_hint(new RoleLabel(QString(), Style::font(11), Style::Role::Tertiary, this))
    , m_settingsButton(new SymbolButton(QStringLiteral("gearshape"), QStringLiteral("Settings"), 13,
                                        Style::Role::Secondary, this)) {
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 10, 18, 10);
    layout->setSpacing(14);
    layout->addWidget(m_hint);
    layout->addStretch(1);
    layout->addWidget(m_settingsButton);
    connect(m_settingsButton, &QAbstractButton::clicked, this, &PanelFooterView::settingsRequested);
}

void PanelFooterView::setShortcut(const QString &displayString) {
    m_hint->setText(PanelTexts::openHint(displayString));
}

QString PanelFooterView::hintText() const {
    return m_hint->text();
}
