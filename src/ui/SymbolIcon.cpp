#include "ui/SymbolIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

namespace SymbolIcon {

QPixmap pixmap(const QString &name, QSize logicalSize, const QColor &tint, qreal devicePixelRatio) {
    const QSize device = (QSizeF(logicalSize) * devicePixelRatio).toSize();
    const QString key = QStringLiteral("sym:%1:%2x%3:%4")
                            .arg(name)
                            .arg(device.width())
                            .arg(device.height())
                            .arg(tint.rgba(), 0, 16);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached))
        return cached;

    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/icons/%1.svg").arg(name));
    if (renderer.isValid()) {
        QPainter painter(&image);
        // Keep the symbol's aspect ratio inside the requested box.
        const QSizeF drawn =
            QSizeF(renderer.defaultSize()).scaled(QSizeF(device), Qt::KeepAspectRatio);
        QRectF target(QPointF((device.width() - drawn.width()) / 2.0,
                              (device.height() - drawn.height()) / 2.0),
                      drawn);
        renderer.render(&painter, target);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), tint);
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, result);
    return result;
}

namespace {

class TintedSymbolEngine : public QIconEngine {
public:
    TintedSymbolEngine(QString name, QColor tint)
        : m_name(std::move(name))
        , m_tint(tint) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, SymbolIcon::pixmap(m_name, rect.size(), m_tint, ratio));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override {
        return SymbolIcon::pixmap(m_name, size, m_tint, 1.0);
    }

    QPixmap scaledPixmap(const QSize &size, QIcon::Mode, QIcon::State, qreal scale) override {
        return SymbolIcon::pixmap(m_name, size, m_tint, scale);
    }

    QIconEngine *clone() const override { return new TintedSymbolEngine(m_name, m_tint); }

private:
    QString m_name;
    QColor m_tint;
};

} // namespace

QIcon icon(const QString &name, const QColor &tint) {
    return QIcon(new TintedSymbolEngine(name, tint));
}

} // namespace SymbolIcon
