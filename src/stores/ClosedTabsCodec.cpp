#include "stores/ClosedTabsCodec.h"

#include "stores/JsonArrayDecoding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace {

const QString stableIDKey = QStringLiteral("stableID");
const QString titleKey = QStringLiteral("title");
const QString urlKey = QStringLiteral("url");
const QString thumbnailURLKey = QStringLiteral("thumbnailURL");
const QString closedDateKey = QStringLiteral("closedDate");

// 2001-01-01T00:00:00Z in milliseconds since the Unix epoch.
constexpr qint64 referenceDateMSecs = 978307200000;
// Far beyond any real date, yet well inside what QDateTime holds.
constexpr double maxReferenceSeconds = 1e13;

double toReferenceSeconds(const QDateTime &date) {
    return double(date.toMSecsSinceEpoch() - referenceDateMSecs) / 1000.0;
}

QDateTime fromReferenceSeconds(double seconds) {
    const double bounded = std::clamp(seconds, -maxReferenceSeconds, maxReferenceSeconds);
    return QDateTime::fromMSecsSinceEpoch(std::llround(bounded * 1000.0) + referenceDateMSecs,
                                          Qt::UTC);
}

std::optional<QUrl> decodeThumbnail(const QJsonValue &value) {
    if (value.isUndefined() || value.isNull())
        return QUrl();
    if (!value.isString())
        return std::nullopt;
    const QUrl url(value.toString(), QUrl::StrictMode);
    if (value.toString().isEmpty() || !url.isValid())
        return std::nullopt;
    return url;
}

std::optional<ClosedTab> decodeTab(const QJsonValue &value) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const QJsonValue stableID = object.value(stableIDKey);
    const QJsonValue title = object.value(titleKey);
    const QJsonValue url = object.value(urlKey);
    const auto thumbnail = decodeThumbnail(object.value(thumbnailURLKey));
    const QJsonValue closedDate = object.value(closedDateKey);
    if (!stableID.isString() || !title.isString() || !url.isString() || !thumbnail ||
        !closedDate.isDouble())
        return std::nullopt;
    return ClosedTab{stableID.toString(), title.toString(), url.toString(), *thumbnail,
                     fromReferenceSeconds(closedDate.toDouble())};
}

QJsonObject encodeTab(const ClosedTab &tab) {
    QJsonObject object{{stableIDKey, tab.stableID},
                       {titleKey, tab.title},
                       {urlKey, tab.url},
                       {closedDateKey, toReferenceSeconds(tab.closedDate)}};
    if (!tab.thumbnailURL.isEmpty())
        object.insert(thumbnailURLKey, tab.thumbnailURL.toString(QUrl::FullyEncoded));
    return object;
}

} // namespace

QByteArray ClosedTabsCodec::encode(const QList<ClosedTab> &tabs) {
    QJsonArray array;
    for (const ClosedTab &tab : tabs)
        array.append(encodeTab(tab));
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<QList<ClosedTab>> ClosedTabsCodec::decode(const QByteArray &bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    return decodeArray(document.array(), decodeTab);
}
