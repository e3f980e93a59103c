#include "platform/GlobalShortcutPortal.h"

GlobalShortcutPortal::~GlobalShortcutPortal() = default;
