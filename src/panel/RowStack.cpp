#include "panel/RowStack.h"

#include <QWidget>

void RowStack::add(QWidget *child, int indent) {
    const QSize hint = child->sizeHint();
    m_items.append(Item{child, indent, hint.isValid() ? hint.height() : child->minimumHeight()});
}

void RowStack::addSpace(int height) {
    m_items.append(Item{nullptr, 0, height});
}

int RowStack::height() const {
    int total = 0;
    for (const Item &item : m_items)
        total += item.height;
    return total;
}

int RowStack::topOf(qsizetype index) const {
    int top = 0;
    for (qsizetype i = 0; i < index && i < m_items.size(); ++i)
        top += m_items[i].height;
    return top;
}

void RowStack::layout(const QRect &area) const {
    int top = area.top();
    for (const Item &item : m_items) {
        if (item.child)
            item.child->setGeometry(area.left() + item.indent, top, area.width() - item.indent,
                                    item.height);
        top += item.height;
    }
}
