#pragma once

#include <QObject>
#include <QRect>
#include <QSystemTrayIcon>

class QColor;

// Nookery's entry in the system tray: the "MenuBarIcon" symbol and no menu. Every kind of
// click (left, right, middle, double) does the same thing.
class StatusItem : public QObject {
    Q_OBJECT
public:
    explicit StatusItem(const QColor &tint, QObject *parent = nullptr);

    // Tints the symbol; the tray redraws it at its own size and pixel ratio.
    void setTint(const QColor &tint);
    // Where the icon is on screen, or an empty rectangle while the tray has not placed it.
    QRect geometry() const;

signals:
    void clicked();

private:
    QSystemTrayIcon m_trayIcon;
};
