#include "panel/model/KeyboardHighlight.h"

#include <algorithm>

bool KeyboardHighlight::moveDown(qsizetype count) {
    return move(count, +1);
}

bool KeyboardHighlight::moveUp(qsizetype count) {
    return move(count, -1);
}

bool KeyboardHighlight::move(qsizetype count, qsizetype step) {
    if (count <= 0)
        return false;
    if (!m_hasNavigated) {
        m_hasNavigated = true;
        m_selectedIndex = 0;
    } else {
        // Step from the tab the user sees: a stale index left by a shrunken list would
        // otherwise swallow Up presses until it came back into range.
        m_selectedIndex = std::clamp(clampedIndex(count) + step, qsizetype(0), count - 1);
    }
    return true;
}

void KeyboardHighlight::reset() {
    m_selectedIndex = 0;
    m_hasNavigated = false;
}

qsizetype KeyboardHighlight::clampedIndex(qsizetype count) const {
    return std::min(count - 1, std::max(m_selectedIndex, qsizetype(0)));
}

QString KeyboardHighlight::highlightedID(const QList<TabItem> &navigable) const {
    if (!m_hasNavigated || navigable.isEmpty())
        return {};
    return navigable.at(clampedIndex(navigable.size())).stableID();
}

std::optional<TabItem> KeyboardHighlight::tabToOpen(const QList<TabItem> &navigable) const {
    if (navigable.isEmpty())
        return std::nullopt;
    return navigable.at(clampedIndex(navigable.size()));
}
