#include "panel/LoadingStateView.h"

#include "panel/ActivityIndicatorView.h"
#include "ui/RoleLabel.h"

#include <QVBoxLayout>

LoadingStateView::LoadingStateView(QWidget *parent)
    : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 36, 36, 36);
    layout->setSpacing(14);
    layout->addWidget(new ActivityIndicatorView(this), 0, Qt::AlignHCenter);
    layout->addWidget(new RoleLabel(QStringLiteral("Looking for Figma tabs…"), Style::font(13),
                                    Style::Role::Secondary, this),
                      0, Qt::AlignHCenter);
}
