#pragma once

#include "tabs/TabItem.h"

#include <QList>
#include <QString>

#include <optional>

// The keyboard cursor over the navigable tabs: nothing is highlighted until an arrow key is
// pressed; the first press of either arrow lands on the first tab; the cursor stops at both ends.
// The stored index may fall out of range when the list shrinks and is clamped wherever it is used.
class KeyboardHighlight {
public:
    // Each returns whether the key was consumed: only when there is a tab to move over.
    bool moveDown(qsizetype count);
    bool moveUp(qsizetype count);
    void reset();

    qsizetype selectedIndex() const { return m_selectedIndex; }
    bool hasNavigated() const { return m_hasNavigated; }

    // The index kept inside [0, count - 1]; -1 for an empty list.
    qsizetype clampedIndex(qsizetype count) const;
    // The stable id of the highlighted tab; empty when nothing is highlighted.
    QString highlightedID(const QList<TabItem> &navigable) const;
    // The tab Return opens: the one at the clamped index, highlighted or not.
    std::optional<TabItem> tabToOpen(const QList<TabItem> &navigable) const;

private:
    bool move(qsizetype count, qsizetype step);

    qsizetype m_selectedIndex = 0;
    bool m_hasNavigated = false;
};
