#pragma once

#include "platform/RunningApplication.h"

// The Figma desktop app: windows of the Linux client's class "Figma", or of the macOS
// client's identifier "com.figma.Desktop", in any case.
bool isFigma(const RunningApplication &application);
