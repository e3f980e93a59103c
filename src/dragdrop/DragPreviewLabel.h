#pragma once

#include <QString>
#include <QWidget>

// The floating label that follows the pointer during a drag: the dragged tab's title, the count
// of files or the folder's name, cut with an ellipsis beyond 200 px. It never takes the mouse.
class DragPreviewLabel : public QWidget {
public:
    explicit DragPreviewLabel(QWidget *window);

    void setText(const QString &text);
    QString text() const { return text_; }
    // The text as drawn, elided to the label's width.
    QString displayedText() const;

    // Places the label centred on the pointer and just above it (window coordinates).
    void placeAbove(const QPointF &pointer);
    // The frame for a text `textWidth` wide: centred on the pointer, 8 px above it, at most
    // 200 px wide.
    static QRectF frameFor(const QPointF &pointer, qreal textWidth);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString text_;
    qreal textWidth_ = 0;
};
