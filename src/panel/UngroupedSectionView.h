#pragma once

#include "panel/TabSectionView.h"
#include "tabs/TabItem.h"

class UngroupedHintCard;
class UngroupedInsertionLine;

// The tabs in no folder, in the remembered order, with insertion lines between them. Tabs
// dropped anywhere on it leave their folders; while no folder exists a card invites the user to
// create one.
class UngroupedSectionView : public TabSectionView {
    Q_OBJECT
public:
    UngroupedSectionView(const QList<TabItem> &tabs, const PanelContext &context,
                         QWidget *parent = nullptr);

    const QList<TabItem> &tabs() const { return m_tabs; }
    const QList<UngroupedInsertionLine *> &lines() const { return m_lines; }
    // Only while no folder exists.
    UngroupedHintCard *hintCard() const { return m_hintCard; }

    // Takes each dropped tab out of its folder, in dropped order.
    void dropTabs(const QStringList &stableIDs) override;
    QColor captionColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QList<TabItem> m_tabs;
    UngroupedHintCard *m_hintCard = nullptr;
    QList<UngroupedInsertionLine *> m_lines;
};
