#pragma once

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

// Watches an X display from the outside, as a user's eye would: which windows of one
// application are mapped, unmapped and drawn into, each event timed when it reaches us. Every
// top-level window gets a Damage object, so the first drawing after a map is seen without polling.
class XWindowWatcher {
public:
    struct Window {
        xcb_window_t id = XCB_NONE;
        bool small = false; // at most 64 × 64: a tray icon rather than a panel
    };

    explicit XWindowWatcher(std::string windowClass);
    ~XWindowWatcher();
    XWindowWatcher(const XWindowWatcher &) = delete;
    XWindowWatcher &operator=(const XWindowWatcher &) = delete;

    bool connected() const { return connection && damageEvent; }

    // Presses and releases a chord such as "alt+space" through XTest; returns the moment the key
    // press left for the server.
    std::optional<Clock::time_point> pressChord(const std::string &chord);
    // Moves the pointer to the middle of `window` through XTest, as a hand on the mouse would.
    bool pointAtCentre(xcb_window_t window);
    // Moves the pointer by (dx, dy) through XTest.
    void movePointerBy(int dx, int dy);
    // One notch of the mouse wheel through XTest; returns the moment it left for the server.
    Clock::time_point turnWheel(bool down);

    // The next map of one of the application's windows until `deadline`.
    std::optional<std::pair<Window, Clock::time_point>> waitForMap(Clock::time_point deadline);
    // The first drawing into `window` since `since`, or nothing by `deadline`.
    std::optional<Clock::time_point> waitForDrawing(xcb_window_t window, Clock::time_point since,
                                                    Clock::time_point deadline);
    bool waitForUnmap(xcb_window_t window, Clock::time_point deadline);
    // Handles the events that arrive until `deadline`.
    void watchUntil(Clock::time_point deadline);
    // Drawings into `window` seen so far: one per Damage report, each after the last is seen.
    int drawings(xcb_window_t window) { return observed[window].drawings; }

private:
    struct Observed {
        std::optional<Clock::time_point> mapped;
        std::optional<Clock::time_point> unmapped;
        std::optional<Clock::time_point> drawn;
        int drawings = 0;
    };

    void watch(xcb_window_t window);
    void watchTree(xcb_window_t window);
    bool belongsToApplication(xcb_window_t window);
    bool isSmall(xcb_window_t window);
    // Handles every event that arrives until `deadline` or until `done` returns true.
    template <typename Done> bool pump(Clock::time_point deadline, Done done);
    void handle(xcb_generic_event_t *event, Clock::time_point now);
    std::vector<xcb_keycode_t> keycodes(const std::string &chord);

    std::string windowClass;
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = XCB_NONE;
    uint8_t damageEvent = 0;
    std::map<xcb_window_t, xcb_damage_damage_t> damages;
    std::map<xcb_window_t, Observed> observed;
    Clock::time_point drawingsFrom{};
    std::vector<xcb_window_t> mapOrder; // the application's maps, oldest first, not yet taken
};
