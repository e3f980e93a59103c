#include "app/PopoverController.h"

#include "app/PopoverSurface.h"

PopoverController::PopoverController(PopoverSurface *surface, std::function<void()> refreshTabs,
                                     QObject *parent)
    : QObject(parent)
    , m_surface(surface)
    , m_refreshTabs(std::move(refreshTabs)) {
    m_focusRequest.setSingleShot(true);
    m_focusRequest.setInterval(focusDelayMs);
    connect(&m_focusRequest, &QTimer::timeout, this, &PopoverController::focusSearchFieldRequested);
}

void PopoverController::togglePopover(bool focusSearch) {
    if (m_surface->isShown()) {
        m_surface->dismiss();
        return;
    }
    m_refreshTabs();
    m_surface->present();
    if (focusSearch)
        m_focusRequest.start();
}
