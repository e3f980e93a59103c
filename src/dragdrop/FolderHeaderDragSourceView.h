#pragma once

#include "dragdrop/DragSourceView.h"

#include <QUuid>

#include <functional>

class QMenu;

// Laid over a folder header or its edit-mode handle: click toggles the folder, the context menu
// offers "Rename" and "Delete Folder", and in edit mode a press moved farther than 5 px drags the
// folder to a new place in the order.
class FolderHeaderDragSourceView : public DragSourceView {
    Q_OBJECT
public:
    struct Fields {
        QUuid folderID{};
        QString folderName{};
        bool editMode = false;
        std::function<void()> onTap{};
        std::function<void(bool)> onHover{};
        std::function<void()> onRename{};
        std::function<void()> onDelete{};
    };

    static constexpr qreal dragThreshold = 5;

    explicit FolderHeaderDragSourceView(QWidget *parent = nullptr);

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
    Qt::CursorShape hoverCursor() const override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QMenu *makeContextMenu();

    Fields fields_;
};
