#pragma once

#include <QString>
#include <QtGlobal>

// The name shown for a key in the macOS virtual key code numbering: "A", "Space", "←", "F5";
// keys without a name of their own are "Key " and the code.
QString keyName(quint32 keyCode);
