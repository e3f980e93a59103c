#pragma once

#include "panel/PanelContext.h"
#include "panel/Thumbnail.h"
#include "stores/ClosedTab.h"

#include <QWidget>

#include "tabs/TabItem.h"

// One entry of the recently closed section: a click reopens the file, the "xmark" button shown
// while hovered forgets it.
class ClosedTabRowView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 54;

    ClosedTabRowView(const ClosedTab &closedTab, const PanelContext &context,
                     QWidget *parent = nullptr);

    const ClosedTab &closedTab() const { return m_closedTab; }
    bool isHovered() const { return m_hovered; }
    void setHovered(bool hovered);
    // Where the remove button sits (only while hovered it is drawn and clickable).
    QRect removeButtonRect() const { return removeButtonRect(rect()); }
    static QRect removeButtonRect(const QRect &row);

    // The transient tab a click hands to the tab manager.
    TabItem reopenedTab() const { return reopenedTab(m_closedTab); }
    static TabItem reopenedTab(const ClosedTab &closedTab);

    // Paints an entry into `rect`; the list view and the widget share it.
    static void paint(QPainter &painter, const QRectF &rect, const QString &title,
                      const Thumbnail &thumbnail, bool hovered, const QPalette &palette);
    void reopen();
    void remove();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ClosedTab m_closedTab;
    QString m_title;
    PanelContext m_context;
    Thumbnail m_thumbnail;
    bool m_hovered = false;
};
