#pragma once

#include "dragdrop/DragSourceView.h"

#include <QStringList>

#include <functional>

// Laid over a tab row: click opens, Ctrl-click toggles selection, and a press moved farther than
// 4 px drags the tab, or the whole selection when the row is part of it.
class TabRowDragSourceView : public DragSourceView {
    Q_OBJECT
public:
    struct Fields {
        QString stableID{};
        QString title{}; // the label when one tab is dragged
        std::function<void()> onTap{};
        std::function<void(bool)> onHover{};
        std::function<void()> onCommandTap{};
        std::function<QStringList()> getSelectedIDs{};
        std::function<void()> clearSelection{}; // called at the end of every drag of this row
    };

    static constexpr qreal dragThreshold = 4;

    explicit TabRowDragSourceView(QWidget *parent = nullptr);

    // Replaces every value and callback; the next event uses the new ones.
    void setFields(Fields fields);
    const Fields &fields() const { return fields_; }

protected:
    bool acceptsDrag(Qt::KeyboardModifiers pressModifiers) const override;
    QString beginDrag() override;
    void updateDragHover(const QPointF &globalPoint) override;
    void finishDrag() override;
    void tap(Qt::KeyboardModifiers pressModifiers) override;
    void reportHover(bool hovered) override;
    Qt::CursorShape hoverCursor() const override { return Qt::PointingHandCursor; }

private:
    Fields fields_;
};
