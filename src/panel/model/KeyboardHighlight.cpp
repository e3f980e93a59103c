#include "panel/model/KeyboardHighlight.h"

#include <algorithm>

bool KeyboardHighlight::moveBy(qsizetype count, qsizetype step) {
    if (count <= 0)
        return false;
    // Step from the row the user sees: a stale index left by a shrunken list would otherwise
    // swallow Up presses until it came back into range.
    return moveTo(count, m_hasNavigated ? clampedIndex(count) + step : 0);
}

bool KeyboardHighlight::moveTo(qsizetype count, qsizetype index) {
    if (count <= 0)
        return false;
    m_hasNavigated = true;
    m_selectedIndex = std::clamp(index, qsizetype(0), count - 1);
    return true;
}

void KeyboardHighlight::reset() {
    m_selectedIndex = 0;
    m_hasNavigated = false;
}

qsizetype KeyboardHighlight::clampedIndex(qsizetype count) const {
    return std::min(count - 1, std::max(m_selectedIndex, qsizetype(0)));
}

std::optional<qsizetype> KeyboardHighlight::highlightedIndex(qsizetype count) const {
    if (!m_hasNavigated || count <= 0)
        return std::nullopt;
    return clampedIndex(count);
}
