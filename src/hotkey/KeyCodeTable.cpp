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
};

// clang-format off
constexpr std::array positions{
    KeyPosition{0x00, 30, Qt::Key_A, false},  KeyPosition{0x0B, 48, Qt::Key_B, false},
    KeyPosition{0x08, 46, Qt::Key_C, false},  KeyPosition{0x02, 32, Qt::Key_D, false},
    KeyPosition{0x0E, 18, Qt::Key_E, false},  KeyPosition{0x03, 33, Qt::Key_F, false},
    KeyPosition{0x05, 34, Qt::Key_G, false},  KeyPosition{0x04, 35, Qt::Key_H, false},
    KeyPosition{0x22, 23, Qt::Key_I, false},  KeyPosition{0x26, 36, Qt::Key_J, false},
    KeyPosition{0x28, 37, Qt::Key_K, false},  KeyPosition{0x25, 38, Qt::Key_L, false},
    KeyPosition{0x2E, 50, Qt::Key_M, false},  KeyPosition{0x2D, 49, Qt::Key_N, false},
    KeyPosition{0x1F, 24, Qt::Key_O, false},  KeyPosition{0x23, 25, Qt::Key_P, false},
    KeyPosition{0x0C, 16, Qt::Key_Q, false},  KeyPosition{0x0F, 19, Qt::Key_R, false},
    KeyPosition{0x01, 31, Qt::Key_S, false},  KeyPosition{0x11, 20, Qt::Key_T, false},
    KeyPosition{0x20, 22, Qt::Key_U, false},  KeyPosition{0x09, 47, Qt::Key_V, false},
    KeyPosition{0x0D, 17, Qt::Key_W, false},  KeyPosition{0x07, 45, Qt::Key_X, false},
    KeyPosition{0x10, 21, Qt::Key_Y, false},  KeyPosition{0x06, 44, Qt::Key_Z, false},
    KeyPosition{0x12, 2, Qt::Key_1, false},   KeyPosition{0x13, 3, Qt::Key_2, false},
    KeyPosition{0x14, 4, Qt::Key_3, false},   KeyPosition{0x15, 5, Qt::Key_4, false},
    KeyPosition{0x17, 6, Qt::Key_5, false},   KeyPosition{0x16, 7, Qt::Key_6, false},
    KeyPosition{0x1A, 8, Qt::Key_7, false},   KeyPosition{0x1C, 9, Qt::Key_8, false},
    KeyPosition{0x19, 10, Qt::Key_9, false},  KeyPosition{0x1D, 11, Qt::Key_0, false},
    KeyPosition{0x24, 28, Qt::Key_Return, false},
    KeyPosition{0x35, 1, Qt::Key_Escape, false},
    KeyPosition{0x33, 14, Qt::Key_Backspace, false},
    KeyPosition{0x30, 15, Qt::Key_Tab, false},
    KeyPosition{0x31, 57, Qt::Key_Space, false},
    KeyPosition{0x1B, 12, Qt::Key_Minus, false},
    KeyPosition{0x18, 13, Qt::Key_Equal, false},
    KeyPosition{0x21, 26, Qt::Key_BracketLeft, false},
    KeyPosition{0x1E, 27, Qt::Key_BracketRight, false},
    KeyPosition{0x2A, 43, Qt::Key_Backslash, false},
    KeyPosition{0x29, 39, Qt::Key_Semicolon, false},
    KeyPosition{0x27, 40, Qt::Key_Apostrophe, false},
    KeyPosition{0x32, 41, Qt::Key_QuoteLeft, false},
    KeyPosition{0x2B, 51, Qt::Key_Comma, false},
    KeyPosition{0x2F, 52, Qt::Key_Period, false},
    KeyPosition{0x2C, 53, Qt::Key_Slash, false},
    KeyPosition{0x7A, 59, Qt::Key_F1, false},  KeyPosition{0x78, 60, Qt::Key_F2, false},
    KeyPosition{0x63, 61, Qt::Key_F3, false},  KeyPosition{0x76, 62, Qt::Key_F4, false},
    KeyPosition{0x60, 63, Qt::Key_F5, false},  KeyPosition{0x61, 64, Qt::Key_F6, false},
    KeyPosition{0x62, 65, Qt::Key_F7, false},  KeyPosition{0x64, 66, Qt::Key_F8, false},
    KeyPosition{0x65, 67, Qt::Key_F9, false},  KeyPosition{0x6D, 68, Qt::Key_F10, false},
    KeyPosition{0x67, 87, Qt::Key_F11, false}, KeyPosition{0x6F, 88, Qt::Key_F12, false},
    KeyPosition{0x73, 102, Qt::Key_Home, false},
    KeyPosition{0x74, 104, Qt::Key_PageUp, false},
    KeyPosition{0x75, 111, Qt::Key_Delete, false},
    KeyPosition{0x77, 107, Qt::Key_End, false},
    KeyPosition{0x79, 109, Qt::Key_PageDown, false},
    KeyPosition{0x7C, 106, Qt::Key_Right, false},
    KeyPosition{0x7B, 105, Qt::Key_Left, false},
    KeyPosition{0x7D, 108, Qt::Key_Down, false},
    KeyPosition{0x7E, 103, Qt::Key_Up, false},
    KeyPosition{0x4C, 96, Qt::Key_Enter, true},
    KeyPosition{0x53, 79, Qt::Key_1, true},   KeyPosition{0x54, 80, Qt::Key_2, true},
    KeyPosition{0x55, 81, Qt::Key_3, true},   KeyPosition{0x56, 75, Qt::Key_4, true},
    KeyPosition{0x57, 76, Qt::Key_5, true},   KeyPosition{0x58, 77, Qt::Key_6, true},
    KeyPosition{0x59, 71, Qt::Key_7, true},   KeyPosition{0x5B, 72, Qt::Key_8, true},
    KeyPosition{0x5C, 73, Qt::Key_9, true},   KeyPosition{0x52, 82, Qt::Key_0, true},
    KeyPosition{0x43, 55, Qt::Key_Asterisk, true},
    KeyPosition{0x45, 78, Qt::Key_Plus, true},
    KeyPosition{0x4E, 74, Qt::Key_Minus, true},
    KeyPosition{0x4B, 98, Qt::Key_Slash, true},
    KeyPosition{0x41, 83, Qt::Key_Period, true},
    KeyPosition{0x51, 117, Qt::Key_Equal, true},
    // The extra key left of Z on ISO keyboards; its symbol depends on the layout.
    KeyPosition{0x0A, 86, Qt::Key_Less, false},
    KeyPosition{0x72, 110, Qt::Key_Insert, false},
    KeyPosition{0x69, 183, Qt::Key_F13, false}, KeyPosition{0x6B, 184, Qt::Key_F14, false},
    KeyPosition{0x71, 185, Qt::Key_F15, false}, KeyPosition{0x6A, 186, Qt::Key_F16, false},
    KeyPosition{0x40, 187, Qt::Key_F17, false}, KeyPosition{0x4F, 188, Qt::Key_F18, false},
    KeyPosition{0x50, 189, Qt::Key_F19, false}, KeyPosition{0x5A, 190, Qt::Key_F20, false},
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
