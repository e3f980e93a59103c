#include "XWindowWatcher.h"

#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sstream>

namespace {

xcb_keysym_t keysym(const std::string &name) {
    static const std::map<std::string, xcb_keysym_t> named = {
        {"alt", 0xffe9},   {"ctrl", 0xffe3},   {"shift", 0xffe1}, {"super", 0xffeb},
        {"space", 0x0020}, {"escape", 0xff1b}, {"return", 0xff0d}};
    if (const auto found = named.find(name); found != named.end())
        return found->second;
    return name.size() == 1 ? xcb_keysym_t(std::tolower(name[0])) : 0;
}

} // namespace

XWindowWatcher::XWindowWatcher(std::string windowClass)
    : windowClass(std::move(windowClass)) {
    int screenNumber = 0;
    connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection))
        return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    root = screens.data->root;

    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!damage || !damage->present)
        return;
    free(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, XCB_DAMAGE_MAJOR_VERSION, 0), nullptr));
    damageEvent = damage->first_event;

    const uint32_t rootEvents = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &rootEvents);
    watchTree(root);
    xcb_flush(connection);
}

XWindowWatcher::~XWindowWatcher() {
    if (connection)
        xcb_disconnect(connection);
}

void XWindowWatcher::watch(xcb_window_t window) {
    if (window == root || damages.count(window))
        return;
    const uint32_t events = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &events);
    const xcb_damage_damage_t damage = xcb_generate_id(connection);
    xcb_damage_create(connection, damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    damages[window] = damage;
}

// Top-level windows and, one level down, the clients a window manager or tray has adopted.
void XWindowWatcher::watchTree(xcb_window_t window) {
    xcb_query_tree_reply_t *tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    if (!tree)
        return;
    const xcb_window_t *children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
        watch(children[i]);
        if (window == root)
            watchTree(children[i]);
    }
    free(tree);
}

bool XWindowWatcher::belongsToApplication(xcb_window_t window) {
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256),
        nullptr);
    if (!reply)
        return false;
    // WM_CLASS holds "instance\0class\0"; either may name the application.
    const char *value = static_cast<const char *>(xcb_get_property_value(reply));
    const std::string text(value, size_t(xcb_get_property_value_length(reply)));
    free(reply);
    std::istringstream parts(text);
    for (std::string part; std::getline(parts, part, '\0');) {
        if (!part.empty() && strcasecmp(part.c_str(), windowClass.c_str()) == 0)
            return true;
    }
    return false;
}

bool XWindowWatcher::isSmall(xcb_window_t window) {
    xcb_get_geometry_reply_t *geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    const bool small = geometry && geometry->width <= 64 && geometry->height <= 64;
    free(geometry);
    return small;
}

void XWindowWatcher::handle(xcb_generic_event_t *event, Clock::time_point now) {
    const uint8_t type = event->response_type & 0x7f;
    if (type == XCB_CREATE_NOTIFY) {
        watch(reinterpret_cast<xcb_create_notify_event_t *>(event)->window);
    } else if (type == XCB_REPARENT_NOTIFY) {
        watch(reinterpret_cast<xcb_reparent_notify_event_t *>(event)->window);
    } else if (type == XCB_MAP_NOTIFY) {
        const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
        Observed &seen = observed[window];
        if (!seen.mapped || (seen.unmapped && *seen.unmapped > *seen.mapped)) {
            seen.mapped = now;
            seen.drawn.reset();
            mapOrder.push_back(window);
        }
    } else if (type == XCB_UNMAP_NOTIFY) {
        observed[reinterpret_cast<xcb_unmap_notify_event_t *>(event)->window].unmapped = now;
    } else if (damageEvent && type == damageEvent + XCB_DAMAGE_NOTIFY) {
        const auto *damage = reinterpret_cast<xcb_damage_notify_event_t *>(event);
        Observed &seen = observed[damage->drawable];
        // The first drawing after the moment a caller waits from; earlier ones give way.
        if (!seen.drawn || *seen.drawn < drawingsFrom)
            seen.drawn = now;
        ++seen.drawings;
        // Ready for the next report.
        xcb_damage_subtract(connection, damage->damage, XCB_NONE, XCB_NONE);
    }
}

template <typename Done> bool XWindowWatcher::pump(Clock::time_point deadline, Done done) {
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            handle(event, Clock::now());
            free(event);
        }
        xcb_flush(connection);
        if (done())
            return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || xcb_connection_has_error(connection))
            return false;
        pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&descriptor, 1, int(std::min<long long>(left.count() + 1, 100)));
    }
}

std::optional<std::pair<XWindowWatcher::Window, Clock::time_point>>
XWindowWatcher::waitForMap(Clock::time_point deadline) {
    std::optional<std::pair<Window, Clock::time_point>> found;
    pump(deadline, [&] {
        while (!found && !mapOrder.empty()) {
            const xcb_window_t window = mapOrder.front();
            mapOrder.erase(mapOrder.begin());
            if (belongsToApplication(window))
                found = {{window, isSmall(window)}, *observed[window].mapped};
        }
        return found.has_value();
    });
    return found;
}

std::optional<Clock::time_point> XWindowWatcher::waitForDrawing(xcb_window_t window,
                                                                Clock::time_point since,
                                                                Clock::time_point deadline) {
    drawingsFrom = since;
    const auto drawnSince = [&] {
        const Observed &seen = observed[window];
        return seen.drawn && *seen.drawn >= since;
    };
    if (!pump(deadline, drawnSince))
        return std::nullopt;
    return observed[window].drawn;
}

bool XWindowWatcher::waitForUnmap(xcb_window_t window, Clock::time_point deadline) {
    return pump(deadline, [&] {
        const Observed &seen = observed[window];
        return seen.unmapped && (!seen.mapped || *seen.unmapped >= *seen.mapped);
    });
}

void XWindowWatcher::watchUntil(Clock::time_point deadline) {
    pump(deadline, [] { return false; });
}

std::vector<xcb_keycode_t> XWindowWatcher::keycodes(const std::string &chord) {
    std::vector<xcb_keycode_t> codes;
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(connection);
    std::istringstream parts(chord);
    for (std::string part; std::getline(parts, part, '+');) {
        xcb_keycode_t *found = xcb_key_symbols_get_keycode(symbols, keysym(part));
        if (found && *found != XCB_NO_SYMBOL)
            codes.push_back(*found);
        else
            codes.clear();
        free(found);
        if (codes.empty())
            break;
    }
    xcb_key_symbols_free(symbols);
    return codes;
}

std::optional<Clock::time_point> XWindowWatcher::pressChord(const std::string &chord) {
    const std::vector<xcb_keycode_t> codes = keycodes(chord);
    if (codes.empty())
        return std::nullopt;
    const auto send = [&](uint8_t type, xcb_keycode_t code) {
        xcb_test_fake_input(connection, type, code, XCB_CURRENT_TIME, root, 0, 0, 0);
    };
    for (size_t i = 0; i + 1 < codes.size(); ++i)
        send(XCB_KEY_PRESS, codes[i]);
    // The modifiers are down before the clock starts; the last key is the press a user makes.
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    const Clock::time_point pressed = Clock::now();
    send(XCB_KEY_PRESS, codes.back());
    xcb_flush(connection);
    for (auto code = codes.rbegin(); code != codes.rend(); ++code)
        send(XCB_KEY_RELEASE, *code);
    xcb_flush(connection);
    return pressed;
}

bool XWindowWatcher::pointAtCentre(xcb_window_t window) {
    xcb_get_geometry_reply_t *geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return false;
    const int16_t x = int16_t(geometry->width / 2);
    const int16_t y = int16_t(geometry->height / 2);
    free(geometry);
    xcb_translate_coordinates_reply_t *onRoot = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, root, x, y), nullptr);
    if (!onRoot)
        return false;
    xcb_test_fake_input(connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, onRoot->dst_x,
                        onRoot->dst_y, 0);
    free(onRoot);
    xcb_flush(connection);
    return true;
}

void XWindowWatcher::movePointerBy(int dx, int dy) {
    xcb_test_fake_input(connection, XCB_MOTION_NOTIFY, 1, XCB_CURRENT_TIME, XCB_NONE, int16_t(dx),
                        int16_t(dy), 0);
    xcb_flush(connection);
}

Clock::time_point XWindowWatcher::turnWheel(bool down) {
    // Buttons 4 and 5 are the wheel's notches up and down.
    const xcb_button_t button = down ? 5 : 4;
    const Clock::time_point turned = Clock::now();
    xcb_test_fake_input(connection, XCB_BUTTON_PRESS, button, XCB_CURRENT_TIME, root, 0, 0, 0);
    xcb_test_fake_input(connection, XCB_BUTTON_RELEASE, button, XCB_CURRENT_TIME, root, 0, 0, 0);
    xcb_flush(connection);
    return turned;
}
