#include "app/StatusItem.h"

#include "ui/SymbolIcon.h"

StatusItem::StatusItem(const QColor &tint, QObject *parent)
    : QObject(parent) {
    m_trayIcon.setToolTip(QStringLiteral("Nookery"));
    connect(&m_trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // A double click arrives after its first click's Trigger; answering both would
                // open and close the panel at once.
                if (reason != QSystemTrayIcon::DoubleClick)
                    emit clicked();
            });
    setTint(tint);
    // Shown even without a tray: the icon appears by itself when a tray starts later.
    m_trayIcon.show();
}

void StatusItem::setTint(const QColor &tint) {
    m_trayIcon.setIcon(SymbolIcon::icon(QStringLiteral("MenuBarIcon"), tint));
}

QRect StatusItem::geometry() const {
    return m_trayIcon.geometry();
}
