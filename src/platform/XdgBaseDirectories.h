#pragma once

#include <QString>

// The per-user XDG base directories. A relative $XDG_CONFIG_HOME or $XDG_DATA_HOME is ignored,
// as the XDG rules ask (Qt takes it as it stands, relative to the working directory).

// $XDG_CONFIG_HOME, else ~/.config.
QString xdgConfigHome();
// $XDG_DATA_HOME, else ~/.local/share.
QString xdgDataHome();
