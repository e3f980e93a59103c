#include "panel/Thumbnail.h"

#include "panel/ThumbnailLoader.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

Thumbnail Thumbnail::of(const QUrl &url, ThumbnailLoader *loader, QWidget *owner) {
    Thumbnail thumbnail;
    if (url.isEmpty() || !loader)
        return thumbnail;
    switch (loader->request(url, owner, [owner] { owner->update(); })) {
    case ThumbnailLoader::State::Loading:
        thumbnail.m_state = State::Loading;
        break;
    case ThumbnailLoader::State::Loaded:
    case ThumbnailLoader::State::Failed:
        thumbnail.m_image = loader->image(url);
        thumbnail.m_state = thumbnail.m_image.isNull() ? State::Failed : State::Loaded;
        break;
    }
    return thumbnail;
}

void Thumbnail::drawCropped(QPainter &painter, const QRectF &rect, const QImage &image,
                            qreal radius) {
    if (image.isNull() || rect.isEmpty())
        return;
    const QSizeF covered = QSizeF(image.size()).scaled(rect.size(), Qt::KeepAspectRatioByExpanding);
    const qreal scale = covered.width() / image.width();
    const QSizeF sourceSize = rect.size() / scale;
    const QRectF source(QPointF((image.width() - sourceSize.width()) / 2.0,
                                (image.height() - sourceSize.height()) / 2.0),
                        sourceSize);
    painter.save();
    QPainterPath clip;
    clip.addRoundedRect(rect, radius, radius);
    painter.setClipPath(clip, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect, image, source);
    painter.restore();
}
