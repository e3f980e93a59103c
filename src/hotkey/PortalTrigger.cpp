#include "hotkey/PortalTrigger.h"

#include "hotkey/KeyCodeTable.h"

#include <QStringList>

#include <array>
#include <optional>
#include <utility>

namespace {

// Keysym names of the US layout, by evdev code: each run of letters or digits is one keyboard
// row; the rest are listed one by one.
struct KeyRow {
    quint32 firstEvdev;
    const char *keys;
};
constexpr std::array rows{KeyRow{2, "1234567890"}, KeyRow{16, "qwertyuiop"},
                          KeyRow{30, "asdfghjkl"}, KeyRow{44, "zxcvbnm"}};

constexpr std::pair<quint32, const char *> namedKeys[] = {
    {1, "Escape"},     {12, "minus"},       {13, "equal"},        {14, "BackSpace"},
    {15, "Tab"},       {26, "bracketleft"}, {27, "bracketright"}, {28, "Return"},
    {39, "semicolon"}, {40, "apostrophe"},  {41, "grave"},        {43, "backslash"},
    {51, "comma"},     {52, "period"},      {53, "slash"},        {57, "space"},
    {59, "F1"},        {60, "F2"},          {61, "F3"},           {62, "F4"},
    {63, "F5"},        {64, "F6"},          {65, "F7"},           {66, "F8"},
    {67, "F9"},        {68, "F10"},         {87, "F11"},          {88, "F12"},
    {71, "KP_7"},      {72, "KP_8"},        {73, "KP_9"},         {75, "KP_4"},
    {76, "KP_5"},      {77, "KP_6"},        {79, "KP_1"},         {80, "KP_2"},
    {81, "KP_3"},      {82, "KP_0"},        {96, "KP_Enter"},     {102, "Home"},
    {103, "Up"},       {104, "Prior"},      {105, "Left"},        {106, "Right"},
    {107, "End"},      {108, "Down"},       {109, "Next"},        {111, "Delete"},
};

std::optional<QString> keysymName(quint32 evdev) {
    for (const KeyRow &row : rows) {
        const auto length = static_cast<quint32>(qstrlen(row.keys));
        if (evdev >= row.firstEvdev && evdev < row.firstEvdev + length)
            return QString(QLatin1Char(row.keys[evdev - row.firstEvdev]));
    }
    for (const auto &[code, name] : namedKeys) {
        if (code == evdev)
            return QString::fromLatin1(name);
    }
    return std::nullopt;
}

} // namespace

QString portalTrigger(const HotkeyBinding &binding) {
    const auto evdev = KeyCodeTable::evdevFromMac(binding.keyCode);
    const auto key = evdev ? keysymName(*evdev) : std::nullopt;
    if (!key)
        return {};
    QStringList parts;
    for (const auto &[bit, name] :
         {std::pair{HotkeyBinding::controlBit, "CTRL"}, std::pair{HotkeyBinding::optionBit, "ALT"},
          std::pair{HotkeyBinding::shiftBit, "SHIFT"},
          std::pair{HotkeyBinding::commandBit, "LOGO"}}) {
        if (binding.modifiers & bit)
            parts.append(QString::fromLatin1(name));
    }
    parts.append(*key);
    return parts.join(QLatin1Char('+'));
}
