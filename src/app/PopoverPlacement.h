#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the panel goes on screen. Every result lies inside the screen's available area, so the
// panel is never partly hidden behind a dock or off the edge of a monitor.
namespace PopoverPlacement {

// Space between the tray icon (or pointer) and the panel, and between the panel and the
// screen's edges when it has no anchor.
constexpr int gap = 4;
constexpr int margin = 8;

// Centred under `anchor`; above it when the panel fits there but not below.
QPoint besideAnchor(const QRect &anchor, QSize size, const QRect &available);

// In the top-right corner of `available`, where most tray areas are.
QPoint topRight(QSize size, const QRect &available);

} // namespace PopoverPlacement
