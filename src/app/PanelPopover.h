#pragma once

#include "app/PopoverSurface.h"

#include <QRect>
#include <QWidget>

#include <functional>
#include <optional>

// The transient window that carries the panel: frameless, closed by a click outside it, the
// panel's content (420 px wide, as tall as it needs) inside a 1 px edge. It opens under the tray
// icon, or where the pointer is when the icon's place is unknown, or in the top-right corner of
// the primary screen when the keyboard asked for it; always inside that screen's available area.
class PanelPopover : public QWidget, public PopoverSurface {
    Q_OBJECT
public:
    static constexpr int panelWidth = 420;
    static constexpr int edgeWidth = 1;

    // `iconGeometry` tells where the tray icon is right now (an empty rectangle when unknown).
    PanelPopover(QWidget *content, std::function<QRect()> iconGeometry, QWidget *parent = nullptr);

    // The next opening follows a pointer click rather than the keyboard.
    void setOpenedByPointer(bool byPointer) { m_openedByPointer = byPointer; }
    // Names the widget that takes the keyboard as soon as the panel shows (null: none).
    void setInitialFocus(std::function<QWidget *()> widget) { m_initialFocus = std::move(widget); }

    bool isShown() const override;
    void present() override;
    void dismiss() override;

signals:
    void paletteChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Placement {
        QRect available;
        std::optional<QRect> anchor; // none: the top-right corner
    };
    Placement placementNow() const;
    void place();

    std::function<QRect()> m_iconGeometry;
    std::function<QWidget *()> m_initialFocus;
    Placement m_placement;
    bool m_openedByPointer = false;
};
