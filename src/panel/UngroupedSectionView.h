#pragma once

#include "panel/DropHighlight.h"
#include "panel/PanelContext.h"
#include "panel/RowStack.h"
#include "tabs/TabItem.h"

#include <QList>
#include <QWidget>

class TabRowView;
class UngroupedHintCard;
class UngroupedInsertionLine;

// The tabs in no folder, in the remembered order, with insertion lines between them. Tabs
// dropped anywhere on it leave their folders; while no folder exists a card invites the user to
// create one.
class UngroupedSectionView : public QWidget {
    Q_OBJECT
public:
    UngroupedSectionView(const QList<TabItem> &tabs, const PanelContext &context,
                         QWidget *parent = nullptr);

    const QList<TabItem> &tabs() const { return m_tabs; }
    const QList<TabRowView *> &rows() const { return m_rows; }
    const QList<UngroupedInsertionLine *> &lines() const { return m_lines; }
    // Only while no folder exists.
    UngroupedHintCard *hintCard() const { return m_hintCard; }

    void setKeyboardHighlightedID(const QString &stableID);

    // Takes each dropped tab out of its folder, in dropped order.
    void dropTabs(const QStringList &stableIDs);
    bool isDragTargeted() const { return m_dropHighlight.isTargeted(); }
    const DropHighlight &dropHighlight() const { return m_dropHighlight; }
    QColor captionColor() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect backgroundRect() const;

    QList<TabItem> m_tabs;
    PanelContext m_context;
    DropHighlight m_dropHighlight;
    UngroupedHintCard *m_hintCard = nullptr;
    QList<TabRowView *> m_rows;
    QList<UngroupedInsertionLine *> m_lines;
    RowStack m_stack;
};
