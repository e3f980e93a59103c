#include "panel/EmptyStateView.h"

#include "panel/SymbolView.h"
#include "panel/model/PanelTexts.h"
#include "tabs/TabManager.h"
#include "ui/RoleLabel.h"

#include <QVBoxLayout>

EmptyStateView::EmptyStateView(const TabManager &tabManager, QWidget *parent)
    : QWidget(parent)
    , m_tabManager(tabManager) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 36, 36, 36);
    layout->setSpacing(14);
    layout->addWidget(
        new SymbolView(QStringLiteral("MenuBarIcon"), QSize(42, 42), Style::Role::Quaternary, this),
        0, Qt::AlignHCenter);
    layout->addWidget(new RoleLabel(QStringLiteral("No Figma tabs found"),
                                    Style::font(16, QFont::DemiBold), Style::Role::Secondary, this),
                      0, Qt::AlignHCenter);
    auto *hint = new RoleLabel(
        QStringLiteral("Open a Figma file in the desktop app and tabs will appear here "
                       "automatically."),
        Style::font(13), Style::Role::Tertiary, this);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignHCenter);
    layout->addWidget(hint);

    // Paths come from the environment: never markup.
    m_lookedFor = new RoleLabel(QString(), Style::font(11), Style::Role::Tertiary, this);
    m_lookedFor->setTextFormat(Qt::PlainText);
    m_lookedFor->setWordWrap(true);
    m_lookedFor->setAlignment(Qt::AlignHCenter);
    layout->addWidget(m_lookedFor);
    connect(&m_tabManager, &TabManager::missingSessionFilesChanged, this,
            &EmptyStateView::updateLookedFor);
    connect(&m_tabManager, &TabManager::sessionFileFailureChanged, this,
            &EmptyStateView::updateLookedFor);
    updateLookedFor();
}

QString EmptyStateView::lookedForText() const {
    return m_lookedFor->isHidden() ? QString() : m_lookedFor->text();
}

void EmptyStateView::updateLookedFor() {
    // A file that is there but unreadable is not an empty session: say why no tabs show.
    const QString missing = PanelTexts::sessionFileNotFound(m_tabManager.missingSessionFiles());
    m_lookedFor->setText(missing.isEmpty()
                             ? PanelTexts::sessionFileUnreadable(m_tabManager.sessionFileFailure())
                             : missing);
    m_lookedFor->setHidden(m_lookedFor->text().isEmpty());
}
