#pragma once

#include <QtGlobal>

#include <optional>

// The keyboard cursor over the rows the keys reach: nothing is highlighted until a key moves it;
// the first move lands on the first row; the cursor stops at both ends. The stored index may
// fall out of range when the list shrinks and is clamped wherever it is used.
class KeyboardHighlight {
public:
    // Each returns whether the key was consumed: only when there is a row to move over.
    bool moveDown(qsizetype count) { return moveBy(count, +1); }
    bool moveUp(qsizetype count) { return moveBy(count, -1); }
    bool moveBy(qsizetype count, qsizetype step);
    // Home, End and a jump to a known row: the index is clamped into the list.
    bool moveTo(qsizetype count, qsizetype index);
    void reset();

    qsizetype selectedIndex() const { return m_selectedIndex; }
    bool hasNavigated() const { return m_hasNavigated; }

    // The index kept inside [0, count - 1]; -1 for an empty list.
    qsizetype clampedIndex(qsizetype count) const;
    // The highlighted index; none before the first move or in an empty list.
    std::optional<qsizetype> highlightedIndex(qsizetype count) const;

private:
    qsizetype m_selectedIndex = 0;
    bool m_hasNavigated = false;
};
