#pragma once

#include "panel/DropHighlight.h"
#include "panel/PanelContext.h"
#include "panel/RowStack.h"

#include <QList>
#include <QWidget>

class TabItem;
class TabRowView;

// What a folder section and the ungrouped section share: tab rows stacked under a header,
// inset 8 px left and right and 1 px top and bottom, on a background that lights up while a
// tab drag is over the section.
class TabSectionView : public QWidget {
    Q_OBJECT
public:
    const QList<TabRowView *> &rows() const { return m_rows; }
    // Forwarded to the rows; the panel hands it to every section.
    void setKeyboardHighlightedID(const QString &stableID);

    // What tabs dropped anywhere on the section do.
    virtual void dropTabs(const QStringList &stableIDs) = 0;
    bool isDragTargeted() const { return m_dropHighlight.isTargeted(); }
    const DropHighlight &dropHighlight() const { return m_dropHighlight; }

    QSize sizeHint() const override;

protected:
    TabSectionView(const PanelContext &context, QWidget *parent);

    TabRowView *addRow(const TabItem &tab, int indent);
    // The band inside the section's insets: background, header and rows.
    QRect backgroundRect() const;
    void paintBackground(QPainter &painter) const;
    void setAcceptsDrops(bool accepts) { m_dropHighlight.setEnabled(accepts); }

    void resizeEvent(QResizeEvent *event) override;

    PanelContext m_context;
    RowStack m_stack;

private:
    DropHighlight m_dropHighlight;
    QList<TabRowView *> m_rows;
};
