#pragma once

#include <QCache>
#include <QHash>
#include <QImage>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <QUrl>

#include <functional>

class QNetworkReply;

// Fetches tab thumbnails (http, https and file URLs) without blocking the GUI thread: the bytes
// come through QNetworkAccessManager, decoding and downscaling run on a worker thread, and the
// small results stay in an in-memory cache. A failed load is remembered, so a broken URL is not
// fetched again for every rebuilt row.
class ThumbnailLoader : public QObject {
    Q_OBJECT
public:
    enum class State { Loading, Loaded, Failed };

    explicit ThumbnailLoader(QObject *parent = nullptr);
    ~ThumbnailLoader() override;

    static bool isSupported(const QUrl &url);

    // Current state of `url`; an unknown URL starts loading. While it loads, `onReady` runs once
    // when the load ends (success or failure), unless `receiver` is gone by then; a receiver
    // that asks again meanwhile keeps its first callback.
    State request(const QUrl &url, QObject *receiver, std::function<void()> onReady);
    QImage image(const QUrl &url) const;

    // Longest side, in device pixels, a decoded thumbnail is reduced to.
    static constexpr int maxPixelSide = 192;
    // Replies larger than this are abandoned as failures.
    static constexpr qint64 maxBytes = 16 * 1024 * 1024;

private:
    struct Waiter {
        QPointer<QObject> receiver;
        std::function<void()> onReady;
    };

    void start(const QUrl &url);
    void onReplyFinished(QNetworkReply *reply);
    void finish(const QUrl &url, const QImage &image);

    QNetworkAccessManager m_network;
    QThreadPool m_decoders;
    QCache<QUrl, QImage> m_images;
    QHash<QUrl, QList<Waiter>> m_waiting;
    QCache<QUrl, bool> m_failed;
};
