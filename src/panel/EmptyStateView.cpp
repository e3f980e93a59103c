#include "panel/EmptyStateView.h"

#include "panel/RoleLabel.h"
#include "panel/SymbolView.h"

#include <QVBoxLayout>

EmptyStateView::EmptyStateView(QWidget *parent)
    : QWidget(parent) {
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
}
