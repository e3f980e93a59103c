#pragma once

#include <Qt>
#include <QtGlobal>
#include <optional>

// Matches macOS virtual key codes (the binding's numbering) with Linux evdev key codes by their
// position on an ANSI keyboard. An X11 keycode is the evdev code plus 8.
namespace KeyCodeTable {

inline constexpr quint32 x11KeycodeOffset = 8;

std::optional<quint32> evdevFromMac(quint32 macKeyCode);
std::optional<quint32> macFromEvdev(quint32 evdevCode);
// The key's keysym name on a US layout ("space", "k", "KP_Add"); null for a key without a
// place on Linux keyboards.
const char *keysymFromMac(quint32 macKeyCode);

// The key Qt reports for the position on a US layout; `keypad` for the keypad's keys.
struct QtKey {
    int key;
    bool keypad;
};
std::optional<QtKey> qtKeyFromMac(quint32 macKeyCode);

// For key events without a native scan code (the offscreen platform): the key's usual position.
// `keypad` tells the keypad's digits and Enter from the main block's.
std::optional<quint32> macFromQtKey(int key, bool keypad);

} // namespace KeyCodeTable
