#pragma once

#include <QImage>
#include <QUrl>

class QPainter;
class QRectF;
class QWidget;

class ThumbnailLoader;

// One row's thumbnail: asks the loader for the image and repaints the owner when it arrives.
class Thumbnail {
public:
    enum class State { None, Loading, Loaded, Failed };

    // Starts loading `url` (empty = the tab has none) and repaints `owner` once it is in.
    void load(const QUrl &url, ThumbnailLoader &loader, QWidget *owner);

    State state() const { return m_state; }
    const QImage &image() const { return m_image; }

    // Draws the image filling `rect` with its aspect ratio kept (cropped), clipped to a rounded
    // rectangle of `radius`.
    static void drawCropped(QPainter &painter, const QRectF &rect, const QImage &image,
                            qreal radius);

private:
    void takeResult(const QImage &image);

    State m_state = State::None;
    QImage m_image;
};
