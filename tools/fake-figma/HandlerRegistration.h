#pragma once

#include <QString>

// Registers `program` as the handler of "figma:" URLs for this user (XDG_DATA_HOME and
// XDG_CONFIG_HOME), as xdg-open finds it. Prints the reason and returns false on failure.
bool registerFigmaUrlHandler(const QString &program);
