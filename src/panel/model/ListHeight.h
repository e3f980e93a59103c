#pragma once

#include <optional>

// The height of the panel's scrolling list: as tall as its content, up to a cap that leaves room
// on the screen and lands on a row boundary.
namespace ListHeight {

// The screen's available height minus 160, at most 580 (580 without a screen), rounded down to a
// multiple of 40, plus 22.
int cap(std::optional<int> availableScreenHeight);

// The smaller of the cap and the content's height; the cap while the content is unmeasured (0).
int height(int cap, int contentHeight);

} // namespace ListHeight
