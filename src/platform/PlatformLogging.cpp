#include "platform/PlatformLogging.h"

Q_LOGGING_CATEGORY(lcWatch, "nookery.watch", QtInfoMsg)
Q_LOGGING_CATEGORY(lcHotkey, "nookery.hotkey", QtInfoMsg)
