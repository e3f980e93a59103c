#pragma once

#include <QPointF>
#include <QString>
#include <QWidget>

#include <optional>

// A transparent widget laid over a row or header that turns its mouse events into hover, taps
// and drags. A press becomes a drag once the pointer moves farther than the threshold; the
// subclass decides whether the press may drag and what the drag carries.
class DragSourceView : public QWidget {
    Q_OBJECT
public:
    ~DragSourceView() override;

    bool isCurrentlyHovered() const { return hovered_; }

    // Re-checks the hover state against the pointer after rows moved under it.
    void repairHover();

protected:
    DragSourceView(qreal dragThreshold, QWidget *parent);

    // Whether a press made with these modifiers may become a drag (asked on every move).
    virtual bool acceptsDrag(Qt::KeyboardModifiers pressModifiers) const = 0;
    // Starts the drag in the shared drag state; returns the label shown under the pointer.
    virtual QString beginDrag() = 0;
    virtual void updateDragHover(const QPointF &globalPoint) = 0;
    virtual void finishDrag() = 0;
    virtual void tap(Qt::KeyboardModifiers pressModifiers) = 0;
    virtual void reportHover(bool hovered) = 0;
    virtual Qt::CursorShape hoverCursor() const = 0;

    // Applies a changed hover cursor at once when the pointer is already over the view.
    void refreshHoverCursor();

    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setHovered(bool hovered);
    void cancelDrag();
    bool pointerIsOver() const;

    const qreal dragThreshold_;
    std::optional<QPointF> pressLocation_;
    Qt::KeyboardModifiers pressModifiers_;
    bool dragStarted_ = false;
    QString dragLabel_;
    bool hovered_ = false;
};
