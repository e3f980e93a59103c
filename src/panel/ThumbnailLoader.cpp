#include "panel/ThumbnailLoader.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <algorithm>

namespace {

constexpr int cacheBytes = 24 * 1024 * 1024;
constexpr int failedEntries = 512;
constexpr int transferTimeoutMs = 15000;

QImage decodeThumbnail(const QByteArray &bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid() && qMax(full.width(), full.height()) > ThumbnailLoader::maxPixelSide)
        reader.setScaledSize(full.scaled(ThumbnailLoader::maxPixelSide,
                                         ThumbnailLoader::maxPixelSide, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return {};
    if (qMax(image.width(), image.height()) > ThumbnailLoader::maxPixelSide)
        image = image.scaled(ThumbnailLoader::maxPixelSide, ThumbnailLoader::maxPixelSide,
                             Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

ThumbnailLoader::ThumbnailLoader(QObject *parent)
    : QObject(parent)
    , m_images(cacheBytes)
    , m_failed(failedEntries) {
    m_decoders.setMaxThreadCount(1);
}

ThumbnailLoader::~ThumbnailLoader() {
    // Decoders post back to this object; let them finish before it goes.
    m_decoders.clear();
    m_decoders.waitForDone();
}

bool ThumbnailLoader::isSupported(const QUrl &url) {
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("file"))
        return url.isLocalFile();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

ThumbnailLoader::State ThumbnailLoader::request(const QUrl &url, QObject *receiver,
                                                std::function<void()> onReady) {
    if (m_images.contains(url))
        return State::Loaded;
    if (m_failed.contains(url) || !isSupported(url))
        return State::Failed;
    // Only regular files: opening a FIFO or a device would block the GUI thread.
    if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isFile()) {
        m_failed.insert(url, new bool(true));
        return State::Failed;
    }
    const bool started = m_waiting.contains(url);
    QList<Waiter> &waiters = m_waiting[url];
    // A view asks on every paint while the image loads.
    const bool waits = std::any_of(waiters.cbegin(), waiters.cend(), [receiver](const Waiter &w) {
        return receiver && w.receiver == receiver;
    });
    if (!waits)
        waiters.append(Waiter{receiver, std::move(onReady)});
    if (!started)
        start(url);
    return State::Loading;
}

QImage ThumbnailLoader::image(const QUrl &url) const {
    const QImage *cached = m_images.object(url);
    return cached ? *cached : QImage();
}

void ThumbnailLoader::start(const QUrl &url) {
    QNetworkRequest request(url);
    request.setTransferTimeout(transferTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply *reply = m_network.get(request);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > maxBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onReplyFinished(reply); });
}

void ThumbnailLoader::onReplyFinished(QNetworkReply *reply) {
    reply->deleteLater();
    const QUrl url = reply->request().url();
    if (reply->error() != QNetworkReply::NoError) {
        finish(url, {});
        return;
    }
    const QByteArray bytes = reply->readAll();
    m_decoders.start([this, url, bytes] {
        const QImage image = decodeThumbnail(bytes);
        QMetaObject::invokeMethod(
            this, [this, url, image] { finish(url, image); }, Qt::QueuedConnection);
    });
}

void ThumbnailLoader::finish(const QUrl &url, const QImage &image) {
    if (image.isNull())
        m_failed.insert(url, new bool(true));
    else
        m_images.insert(url, new QImage(image), int(image.sizeInBytes()));
    const QList<Waiter> waiters = m_waiting.take(url);
    for (const Waiter &waiter : waiters) {
        if (waiter.receiver && waiter.onReady)
            waiter.onReady();
    }
}
