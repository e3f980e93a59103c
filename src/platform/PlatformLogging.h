#pragma once

#include <QLoggingCategory>

// Silent unless QT_LOGGING_RULES enables them, e.g. "nookery.*.debug=true".
// The session file's watch: what the kernel reported and when it was handed on.
Q_DECLARE_LOGGING_CATEGORY(lcWatch)
// The global shortcut: key grabs and the desktop portal's answers.
Q_DECLARE_LOGGING_CATEGORY(lcHotkey)
