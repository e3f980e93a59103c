#pragma once

#include <QString>
#include <QtGlobal>

// The name shown for a key in the macOS virtual key code numbering, as QKeySequence writes it in
// portable text: "A", "Space", "Backspace", "Del", "PgUp", "Num+5". A code without a place on
// Linux keyboards is "Unknown key".
QString keyName(quint32 keyCode);
