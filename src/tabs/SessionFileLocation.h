#pragma once

#include <QString>
#include <QStringList>

// Where the Figma desktop app keeps its session file. Electron keeps it in its user-data folder:
// "$XDG_CONFIG_HOME/Figma" on Linux, "Library/Application Support/Figma" on macOS.

// Names a session file in an unusual place (Flatpak, a custom --user-data-dir).
inline constexpr char sessionFileVariable[] = "NOOKERY_FIGMA_SETTINGS";

// The places looked at, most specific first: $NOOKERY_FIGMA_SETTINGS when it is an absolute
// path (a relative one is ignored, as the XDG variables' are), "Figma/settings.json" in
// $XDG_CONFIG_HOME (~/.config), and "Library/Application Support/Figma/settings.json" below the
// home folder.
QStringList sessionFileCandidates();

// The first of `candidates` that is a file: the session file to read. Empty when none is.
QString firstExistingFile(const QStringList &candidates);
