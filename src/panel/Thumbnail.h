#pragma once

#include <QImage>
#include <QUrl>

class QPainter;
class QRectF;
class QWidget;

class ThumbnailLoader;

// A row's thumbnail as the loader has it at the moment of painting. The image is the loader's
// (shared, not copied), so it is dropped with the painting; the loader's bounded cache is the
// only one.
class Thumbnail {
public:
    enum class State { None, Loading, Loaded, Failed };

    // `url` empty or no loader: none. An unknown URL starts loading and repaints `owner` once in.
    static Thumbnail of(const QUrl &url, ThumbnailLoader *loader, QWidget *owner);

    State state() const { return m_state; }
    const QImage &image() const { return m_image; }

    // Draws the image filling `rect` with its aspect ratio kept (cropped), clipped to a rounded
    // rectangle of `radius`.
    static void drawCropped(QPainter &painter, const QRectF &rect, const QImage &image,
                            qreal radius);

private:
    State m_state = State::None;
    QImage m_image;
};
