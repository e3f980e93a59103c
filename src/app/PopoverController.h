#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class PopoverSurface;

// Opens and closes the panel: every opening refreshes the tabs first, so the list is current
// when it shows, and asks for the search field a moment after the panel is shown.
class PopoverController : public QObject {
    Q_OBJECT
public:
    static constexpr int focusDelayMs = 50;

    PopoverController(PopoverSurface *surface, std::function<void()> refreshTabs,
                      QObject *parent = nullptr);

    void togglePopover(bool focusSearch);

signals:
    void focusSearchFieldRequested();

private:
    PopoverSurface *m_surface;
    std::function<void()> m_refreshTabs;
    QTimer m_focusRequest;
};
