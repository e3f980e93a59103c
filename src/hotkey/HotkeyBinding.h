#pragma once

#include <Qt>
#include <QtGlobal>

// The global shortcut: a key in the macOS virtual key code numbering plus Carbon modifier bits.
// Both numberings are kept because they are what the stored settings hold.
struct HotkeyBinding {
    static constexpr quint32 commandBit = 0x100;
    static constexpr quint32 shiftBit = 0x200;
    static constexpr quint32 optionBit = 0x800;
    static constexpr quint32 controlBit = 0x1000;

    quint32 keyCode = 49;
    quint32 modifiers = optionBit;

    // Alt+Space.
    static constexpr HotkeyBinding defaultBinding() { return {}; }

    friend bool operator==(const HotkeyBinding &, const HotkeyBinding &) = default;
};

inline constexpr char hotkeyKeyCodeKey[] = "Nookery.hotkey.keyCode";
inline constexpr char hotkeyModifiersKey[] = "Nookery.hotkey.modifiers";

// The stored binding; nothing stored (both values 0) or a value that does not fit in 32 unsigned
// bits gives the default.
HotkeyBinding loadBinding();
void saveBinding(const HotkeyBinding &binding);

// "Ctrl", "Alt", "Shift", "Super" (those present, in that order) and the key name, joined by
// "+": "Alt+Space".
QString displayString(const HotkeyBinding &binding);

// Super is the command key, Alt the option key; every other flag is ignored.
quint32 carbonModifiers(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers qtModifiers(quint32 carbonModifiers);
