#include "panel/model/ListHeight.h"

#include <algorithm>

namespace ListHeight {

namespace {
constexpr int screenMargin = 160;
constexpr int largestCap = 580;
constexpr int rowStep = 40;
constexpr int rowOffset = 22;
} // namespace

int cap(std::optional<int> availableScreenHeight) {
    const int raw = availableScreenHeight
                        ? std::min(*availableScreenHeight - screenMargin, largestCap)
                        : largestCap;
    // A tiny screen must not give a negative list.
    const int rounded = std::max(raw, 0) / rowStep * rowStep;
    return rounded + rowOffset;
}

int height(int cap, int contentHeight) {
    return contentHeight > 0 ? std::min(cap, contentHeight) : cap;
}

} // namespace ListHeight
