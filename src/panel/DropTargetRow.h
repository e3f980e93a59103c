#pragma once

#include "panel/DropHighlight.h"

#include <QWidget>

// The look shared by the search results' drop rows: a symbol, a name and, while a tab drag is
// over the row, "Drop here", on the accent tint of the drop highlight.
class DropTargetRow : public QWidget {
    Q_OBJECT
public:
    bool isTargeted() const { return m_dropHighlight.isTargeted(); }
    const DropHighlight &dropHighlight() const { return m_dropHighlight; }
    QColor symbolColor() const;

    // What a drop of these tabs does.
    virtual void dropTabs(const QStringList &stableIDs) = 0;

    QSize sizeHint() const override;

protected:
    struct Look {
        QString symbol;
        QString name;
        QColor nameColor;
        QColor restingSymbolColor;
    };

    explicit DropTargetRow(QWidget *parent);
    virtual Look look() const = 0;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect shapeRect() const;

    DropHighlight m_dropHighlight;
};
