#include "panel/PanelHeaderView.h"

#include "panel/SymbolButton.h"
#include "panel/SymbolView.h"
#include "panel/model/PanelTexts.h"
#include "ui/RoleLabel.h"

#include <QHBoxLayout>

PanelHeaderView::PanelHeaderView(QWidget *parent)
    : QWidget(parent) {
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->setSpacing(10);
    // Made in reading order: a screen reader lists them as they were made.
    layout->addWidget(
        new SymbolView(QStringLiteral("MenuBarIcon"), QSize(18, 18), Style::Role::Primary, this));
    layout->addWidget(new RoleLabel(QStringLiteral("Nookery"), Style::font(17, QFont::DemiBold),
                                    Style::Role::Primary, this));
    m_count = new RoleLabel(PanelTexts::tabCount(0), Style::font(13), Style::Role::Tertiary, this);
    m_newFolderButton =
        new SymbolButton(QStringLiteral("folder.badge.plus"), QStringLiteral("New Folder"), 15,
                         Style::Role::Secondary, this);
    layout->addWidget(m_count);
    layout->addStretch(1);
    layout->addWidget(m_newFolderButton);
    connect(m_newFolderButton, &QAbstractButton::clicked, this,
            &PanelHeaderView::newFolderRequested);
}

void PanelHeaderView::setTabCount(qsizetype count) {
    m_count->setText(PanelTexts::tabCount(count));
}

QString PanelHeaderView::tabCountText() const {
    return m_count->text();
}
