#include "hotkey/HotkeyBinding.h"

#include "hotkey/KeyNames.h"

#include <QSettings>
#include <QStringList>
#include <array>
#include <limits>
#include <optional>

namespace {

struct ModifierPair {
    quint32 carbon;
    Qt::KeyboardModifier qt;
};

constexpr std::array modifierPairs{
    ModifierPair{HotkeyBinding::commandBit, Qt::MetaModifier},
    ModifierPair{HotkeyBinding::shiftBit, Qt::ShiftModifier},
    ModifierPair{HotkeyBinding::optionBit, Qt::AltModifier},
    ModifierPair{HotkeyBinding::controlBit, Qt::ControlModifier},
};

std::optional<quint32> storedValue(const QSettings &settings, const char *key) {
    bool ok = false;
    const qlonglong value = settings.value(QLatin1String(key), 0).toLongLong(&ok);
    if (!ok || value < 0 || value > qlonglong(std::numeric_limits<quint32>::max()))
        return std::nullopt;
    return quint32(value);
}

} // namespace

HotkeyBinding loadBinding() {
    const QSettings settings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
    const auto keyCode = storedValue(settings, hotkeyKeyCodeKey);
    const auto modifiers = storedValue(settings, hotkeyModifiersKey);
    if (!keyCode || !modifiers || (*keyCode == 0 && *modifiers == 0))
        return HotkeyBinding::defaultBinding();
    return {*keyCode, *modifiers};
}

void saveBinding(const HotkeyBinding &binding) {
    QSettings settings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
    settings.setValue(QLatin1String(hotkeyKeyCodeKey), binding.keyCode);
    settings.setValue(QLatin1String(hotkeyModifiersKey), binding.modifiers);
}

QString displayString(const HotkeyBinding &binding) {
    // The names Linux keyboards carry, in Qt's portable order.
    static const std::array<std::pair<quint32, const char *>, 4> names{{
        {HotkeyBinding::controlBit, "Ctrl"},
        {HotkeyBinding::optionBit, "Alt"},
        {HotkeyBinding::shiftBit, "Shift"},
        {HotkeyBinding::commandBit, "Super"},
    }};
    QStringList parts;
    for (const auto &[bit, name] : names) {
        if (binding.modifiers & bit)
            parts << QLatin1String(name);
    }
    parts << keyName(binding.keyCode);
    return parts.join(QLatin1Char('+'));
}

quint32 carbonModifiers(Qt::KeyboardModifiers modifiers) {
    quint32 bits = 0;
    for (const auto &pair : modifierPairs) {
        if (modifiers.testFlag(pair.qt))
            bits |= pair.carbon;
    }
    return bits;
}

Qt::KeyboardModifiers qtModifiers(quint32 carbonModifiers) {
    Qt::KeyboardModifiers modifiers;
    for (const auto &pair : modifierPairs) {
        if (carbonModifiers & pair.carbon)
            modifiers |= pair.qt;
    }
    return modifiers;
}
