#pragma once

#include "hotkey/HotkeyBinding.h"

#include <QString>

// The binding in the trigger syntax desktop portals take as a preferred trigger: modifiers in
// capitals, then the key's keysym name, joined by "+" ("ALT+space", "CTRL+SHIFT+k", "LOGO+F5").
// Empty for a key without a place on Linux keyboards.
QString portalTrigger(const HotkeyBinding &binding);
