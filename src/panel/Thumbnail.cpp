#include "panel/Thumbnail.h"

#include "panel/ThumbnailLoader.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

void Thumbnail::load(const QUrl &url, ThumbnailLoader &loader, QWidget *owner) {
    if (url.isEmpty()) {
        m_state = State::None;
        return;
    }
    switch (loader.request(url, owner, [this, url, &loader, owner] {
        takeResult(loader.image(url));
        owner->update();
    })) {
    case ThumbnailLoader::State::Loading:
        m_state = State::Loading;
        break;
    case ThumbnailLoader::State::Loaded:
    case ThumbnailLoader::State::Failed:
        takeResult(loader.image(url));
        break;
    }
}

void Thumbnail::takeResult(const QImage &image) {
    m_image = image;
    m_state = m_image.isNull() ? State::Failed : State::Loaded;
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
