#pragma once

#include <QList>
#include <QRect>

class QWidget;

// A vertical run of fixed-height children, each indented on the leading side. Sections lay out
// hundreds of rows with it: one pass of setGeometry, no layout engine per row.
class RowStack {
public:
    // The child keeps its sizeHint() height and the full width minus `indent`.
    void add(QWidget *child, int indent = 0);
    // An empty band (painted by the owner, e.g. a header).
    void addSpace(int height);

    int height() const;
    // Places the children from the top of `area`.
    void layout(const QRect &area) const;
    // The top edge, relative to the stack, of item `index`.
    int topOf(qsizetype index) const;

private:
    struct Item {
        QWidget *child;
        int indent;
        int height;
    };
    QList<Item> m_items;
};
