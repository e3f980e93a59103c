#include "app/PanelPopover.h"

#include "app/PopoverPlacement.h"
#include "platform/x11/X11WindowActivator.h"
#include "ui/Style.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QScreen *screenAtOrPrimary(QPoint point) {
    QScreen *screen = QGuiApplication::screenAt(point);
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

PanelPopover::PanelPopover(QWidget *content, std::function<QRect()> iconGeometry, QWidget *parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
    , m_iconGeometry(std::move(iconGeometry)) {
    // A click on the tray icon while the panel is open must only close it, not reach the icon
    // again and reopen the panel at once.
    setAttribute(Qt::WA_NoMouseReplay);
    // What a screen reader calls the window.
    setWindowTitle(QStringLiteral("Nookery"));
    auto *layout = new QVBoxLayout(this);
    // The content sits inside the hairline rather than under it: nothing covers the list, so
    // scrolling can move its drawn pixels instead of painting it again.
    layout->setContentsMargins(edgeWidth, edgeWidth, edgeWidth, edgeWidth);
    layout->setSpacing(0);
    // The window follows the panel's height as its content grows and shrinks.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    content->setFixedWidth(panelWidth);
    layout->addWidget(content);
}

bool PanelPopover::isShown() const {
    return isVisible();
}

void PanelPopover::present() {
    m_placement = placementNow();
    m_openedByPointer = false;
    adjustSize();
    place();
    show();
    raise();
    activateWindow();
    X11WindowActivator::activate(windowHandle());
    // Keys typed right after the shortcut belong in the search field, not in the last app.
    if (QWidget *field = m_initialFocus ? m_initialFocus() : nullptr)
        field->setFocus(Qt::PopupFocusReason);
}

void PanelPopover::dismiss() {
    close();
}

PanelPopover::Placement PanelPopover::placementNow() const {
    // The tray only knows the icon's place a moment after it was shown, so ask now.
    const QRect icon = m_iconGeometry ? m_iconGeometry() : QRect();
    if (icon.isValid() && !icon.isEmpty())
        return {screenAtOrPrimary(icon.center())->availableGeometry(), icon};
    if (m_openedByPointer) {
        const QPoint pointer = QCursor::pos();
        return {screenAtOrPrimary(pointer)->availableGeometry(), QRect(pointer, QSize(1, 1))};
    }
    QScreen *primary = QGuiApplication::primaryScreen();
    return {primary ? primary->availableGeometry() : QRect(), std::nullopt};
}

void PanelPopover::place() {
    if (m_placement.available.isEmpty())
        return;
    move(m_placement.anchor
             ? PopoverPlacement::besideAnchor(*m_placement.anchor, size(), m_placement.available)
             : PopoverPlacement::topRight(size(), m_placement.available));
}

void PanelPopover::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    // Growing content must not push the panel off its screen.
    if (isVisible())
        place();
}

// A hairline around the panel, so its edge shows on any background.
void PanelPopover::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setPen(Style::color(Style::Role::Quaternary, palette()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PanelPopover::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    // A focused text field keeps blinking its cursor in a hidden window, waking the program
    // twice a second; every opening gives the focus out again anyway.
    if (QWidget *focused = focusWidget())
        focused->clearFocus();
}

void PanelPopover::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        emit paletteChanged();
}
