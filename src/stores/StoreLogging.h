#pragma once

#include <QLoggingCategory>

// Reads and writes of the program's own files. A write that fails is a warning, seen by
// default; the rest is silent unless QT_LOGGING_RULES enables "nookery.store.debug".
Q_DECLARE_LOGGING_CATEGORY(lcStore)
