#include "hotkey/KeyCodeTable.h"

#include <algorithm>
#include <array>

namespace KeyCodeTable {
namespace {

struct KeyPosition {
    quint32 mac;
    quint32 evdev;
    int qtKey;
    bool keypad;
    // The US layout's keysym name, as desktop portals read triggers.
    const char *keysym;
};

// clang-format off
constexpr std::array positions{
    KeyPosition{0x00, 30, Qt::Key_A, false, "a"}, KeyPosition{0x0B, 48, Qt::Key_B, false, "b"},
    KeyPosition{0x08, 46, Qt::Key_C, false, "c"}, KeyPosition{0x02, 32, Qt::Key_D, false, "d"},
    KeyPosition{0x0E, 18, Qt::Key_E, false, "e"}, KeyPosition{0x03, 33, Qt::Key_F, false, "f"},
    KeyPosition{0x05, 34, Qt::Key_G, false, "g"}, KeyPosition{0x04, 35, Qt::Key_H, false, "h"},
    KeyPosition{0x22, 23, Qt::Key_I, false, "i"}, KeyPosition{0x26, 36, Qt::Key_J, false, "j"},
    KeyPosition{0x28, 37, Qt::Key_K, false, "k"}, KeyPosition{0x25, 38, Qt::Key_L, false, "l"},
    KeyPosition{0x2E, 50, Qt::Key_M, false, "m"}, KeyPosition{0x2D, 49, Qt::Key_N, false, "n"},
    KeyPosition{0x1F, 24, Qt::Key_O, false, "o"}, KeyPosition{0x23, 25, Qt::Key_P, false, "p"},
    KeyPosition{0x0C, 16, Qt::Key_Q, false, "q"}, KeyPosition{0x0F, 19, Qt::Key_R, false, "r"},
    KeyPosition{0x01, 31, Qt::Key_S, false, "s"}, KeyPosition{0x11, 20, Qt::Key_T, false, "t"},
    KeyPosition{0x20, 22, Qt::Key_U, false, "u"}, KeyPosition{0x09, 47, Qt::Key_V, false, "v"},
    KeyPosition{0x0D, 17, Qt::Key_W, false, "w"}, KeyPosition{0x07, 45, Qt::Key_X, false, "x"},
    KeyPosition{0x10, 21, Qt::Key_Y, false, "y"}, KeyPosition{0x06, 44, Qt::Key_Z, false, "z"},
    KeyPosition{0x12, 2, Qt::Key_1, false, "1"}, KeyPosition{0x13, 3, Qt::Key_2, false, "2"},
    KeyPosition{0x14, 4, Qt::Key_3, false, "3"}, KeyPosition{0x15, 5, Qt::Key_4, false, "4"},
    KeyPosition{0x17, 6, Qt::Key_5, false, "5"}, KeyPosition{0x16, 7, Qt::Key_6, false, "6"},
    KeyPosition{0x1A, 8, Qt::Key_7, false, "7"}, KeyPosition{0x1C, 9, Qt::Key_8, false, "8"},
    KeyPosition{0x19, 10, Qt::Key_9, false, "9"}, KeyPosition{0x1D, 11, Qt::Key_0, false, "0"},
    KeyPosition{0x24, 28, Qt::Key_Return, false, "Return"},
    KeyPosition{0x35, 1, Qt::Key_Escape, false, "Escape"},
    KeyPosition{0x33, 14, Qt::Key_Backspace, false, "BackSpace"},
    KeyPosition{0x30, 15, Qt::Key_Tab, false, "Tab"},
    KeyPosition{0x31, 57, Qt::Key_Space, false, "space"},
    KeyPosition{0x1B, 12, Qt::Key_Minus, false, "minus"},
    KeyPosition{0x18, 13, Qt::Key_Equal, false, "equal"},
    KeyPosition{0x21, 26, Qt::Key_BracketLeft, false, "bracketleft"},
    KeyPosition{0x1E, 27, Qt::Key_BracketRight, false, "bracketright"},
    KeyPosition{0x2A, 43, Qt::Key_Backslash, false, "backslash"},
    KeyPosition{0x29, 39, Qt::Key_Semicolon, false, "semicolon"},
    KeyPosition{0x27, 40, Qt::Key_Apostrophe, false, "apostrophe"},
    KeyPosition{0x32, 41, Qt::Key_QuoteLeft, false, "grave"},
    KeyPosition{0x2B, 51, Qt::Key_Comma, false, "comma"},
    KeyPosition{0x2F, 52, Qt::Key_Period, false, "period"},
    KeyPosition{0x2C, 53, Qt::Key_Slash, false, "slash"},
    KeyPosition{0x7A, 59, Qt::Key_F1, false, "F1"}, KeyPosition{0x78, 60, Qt::Key_F2, false, "F2"},
    KeyPosition{0x63, 61, Qt::Key_F3, false, "F3"}, KeyPosition{0x76, 62, Qt::Key_F4, false, "F4"},
    KeyPosition{0x60, 63, Qt::Key_F5, false, "F5"}, KeyPosition{0x61, 64, Qt::Key_F6, false, "F6"},
    KeyPosition{0x62, 65, Qt::Key_F7, false, "F7"}, KeyPosition{0x64, 66, Qt::Key_F8, false, "F8"},
    KeyPosition{0x65, 67, Qt::Key_F9, false, "F9"},
    KeyPosition{0x6D, 68, Qt::Key_F10, false, "F10"},
    KeyPosition{0x67, 87, Qt::Key_F11, false, "F11"},
    KeyPosition{0x6F, 88, Qt::Key_F12, false, "F12"},
    KeyPosition{0x73, 102, Qt::Key_Home, false, "Home"},
    KeyPosition{0x74, 104, Qt::Key_PageUp, false, "Prior"},
    KeyPosition{0x75, 111, Qt::Key_Delete, false, "Delete"},
    KeyPosition{0x77, 107, Qt::Key_End, false, "End"},
    KeyPosition{0x79, 109, Qt::Key_PageDown, false, "Next"},
    KeyPosition{0x7C, 106, Qt::Key_Right, false, "Right"},
    KeyPosition{0x7B, 105, Qt::Key_Left, false, "Left"},
    KeyPosition{0x7D, 108, Qt::Key_Down, false, "Down"},
    KeyPosition{0x7E, 103, Qt::Key_Up, false, "Up"},
    KeyPosition{0x4C, 96, Qt::Key_Enter, true, "KP_Enter"},
    KeyPosition{0x53, 79, Qt::Key_1, true, "KP_1"}, KeyPosition{0x54, 80, Qt::Key_2, true, "KP_2"},
    KeyPosition{0x55, 81, Qt::Key_3, true, "KP_3"}, KeyPosition{0x56, 75, Qt::Key_4, true, "KP_4"},
    KeyPosition{0x57, 76, Qt::Key_5, true, "KP_5"}, KeyPosition{0x58, 77, Qt::Key_6, true, "KP_6"},
    KeyPosition{0x59, 71, Qt::Key_7, true, "KP_7"}, KeyPosition{0x5B, 72, Qt::Key_8, true, "KP_8"},
    KeyPosition{0x5C, 73, Qt::Key_9, true, "KP_9"}, KeyPosition{0x52, 82, Qt::Key_0, true, "KP_0"},
    KeyPosition{0x43, 55, Qt::Key_Asterisk, true, "KP_Multiply"},
    KeyPosition{0x45, 78, Qt::Key_Plus, true, "KP_Add"},
    KeyPosition{0x4E, 74, Qt::Key_Minus, true, "KP_Subtract"},
    KeyPosition{0x4B, 98, Qt::Key_Slash, true, "KP_Divide"},
    KeyPosition{0x41, 83, Qt::Key_Period, true, "KP_Decimal"},
    KeyPosition{0x51, 117, Qt::Key_Equal, true, "KP_Equal"},
    // The extra key left of Z on ISO keyboards; its symbol depends on the layout.
    KeyPosition{0x0A, 86, Qt::Key_Less, false, "less"},
    KeyPosition{0x72, 110, Qt::Key_Insert, false, "Insert"},
    KeyPosition{0x69, 183, Qt::Key_F13, false, "F13"},
    KeyPosition{0x6B, 184, Qt::Key_F14, false, "F14"},
    KeyPosition{0x71, 185, Qt::Key_F15, false, "F15"},
    KeyPosition{0x6A, 186, Qt::Key_F16, false, "F16"},
    KeyPosition{0x40, 187, Qt::Key_F17, false, "F17"},
    KeyPosition{0x4F, 188, Qt::Key_F18, false, "F18"},
    KeyPosition{0x50, 189, Qt::Key_F19, false, "F19"},
    KeyPosition{0x5A, 190, Qt::Key_F20, false, "F20"},
};
// clang-format on

template <typename Predicate> const KeyPosition *find(Predicate predicate) {
    const auto it = std::find_if(positions.begin(), positions.end(), predicate);
    return it == positions.end() ? nullptr : &*it;
}

} // namespace

std::optional<quint32> evdevFromMac(quint32 macKeyCode) {
    if (const auto *position = find([&](const KeyPosition &p) { return p.mac == macKeyCode; }))
        return position->evdev;
    return std::nullopt;
}

std::optional<quint32> macFromEvdev(quint32 evdevCode) {
    if (const auto *position = find([&](const KeyPosition &p) { return p.evdev == evdevCode; }))
        return position->mac;
    return std::nullopt;
}

const char *keysymFromMac(quint32 macKeyCode) {
    const auto *position = find([&](const KeyPosition &p) { return p.mac == macKeyCode; });
    return position ? position->keysym : nullptr;
}

std::optional<QtKey> qtKeyFromMac(quint32 macKeyCode) {
    if (const auto *position = find([&](const KeyPosition &p) { return p.mac == macKeyCode; }))
        return QtKey{position->qtKey, position->keypad};
    return std::nullopt;
}

std::optional<quint32> macFromQtKey(int key, bool keypad) {
    // Shift-Tab arrives as Backtab, and Enter is only ever on the keypad.
    if (key == Qt::Key_Backtab)
        key = Qt::Key_Tab;
    if (key == Qt::Key_Enter)
        keypad = true;
    if (const auto *position =
            find([&](const KeyPosition &p) { return p.qtKey == key && p.keypad == keypad; }))
        return position->mac;
    return std::nullopt;
}

} // namespace KeyCodeTable
