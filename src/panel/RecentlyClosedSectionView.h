#pragma once

#include "panel/PanelContext.h"
#include "panel/RowStack.h"
#include "stores/ClosedTab.h"

#include <QList>
#include <QWidget>

class ClosedTabRowView;
class PlainTextButton;

// The bottom section of the normal list: "Recently Closed" with a "Clear" button, then one row
// per entry, newest first, as the store's recentTabs() gives them.
class RecentlyClosedSectionView : public QWidget {
    Q_OBJECT
public:
    RecentlyClosedSectionView(const QList<ClosedTab> &closedTabs, const PanelContext &context,
                              QWidget *parent = nullptr);

    const QList<ClosedTabRowView *> &rows() const { return m_rows; }
    PlainTextButton *clearButton() const { return m_clearButton; }
    // Forgets every entry.
    void clear();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect headerRect() const;

    PanelContext m_context;
    PlainTextButton *m_clearButton;
    QList<ClosedTabRowView *> m_rows;
    RowStack m_stack;
};
