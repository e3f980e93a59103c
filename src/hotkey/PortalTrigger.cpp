#include "hotkey/PortalTrigger.h"

#include "hotkey/KeyCodeTable.h"

#include <QStringList>

#include <utility>

QString portalTrigger(const HotkeyBinding &binding) {
    const char *key = KeyCodeTable::keysymFromMac(binding.keyCode);
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
    parts.append(QString::fromLatin1(key));
    return parts.join(QLatin1Char('+'));
}
