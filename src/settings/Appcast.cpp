#include "settings/Appcast.h"

#include "settings/VersionComparison.h"

#include <QXmlStreamReader>

namespace {

const QString sparkleNamespace =
    QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

QUrl webUrl(QStringView text) {
    const QUrl url(text.trimmed().toString(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return {};
    return url;
}

bool isSparkle(const QXmlStreamReader &reader, QLatin1String name) {
    return reader.namespaceUri() == sparkleNamespace && reader.name() == name;
}

// Older appcasts put the versions on the enclosure as attributes.
void readEnclosure(const QXmlStreamReader &reader, AppcastItem &item) {
    const QXmlStreamAttributes attributes = reader.attributes();
    if (item.version.isEmpty())
        item.version = attributes.value(sparkleNamespace, QLatin1String("version")).toString();
    if (item.shortVersion.isEmpty()) {
        item.shortVersion =
            attributes.value(sparkleNamespace, QLatin1String("shortVersionString")).toString();
    }
    if (const QUrl url = webUrl(attributes.value(QLatin1String("url"))); url.isValid())
        item.downloadUrl = url;
}

AppcastItem readItem(QXmlStreamReader &reader) {
    AppcastItem item;
    QUrl link;
    while (reader.readNextStartElement()) {
        if (reader.namespaceUri().isEmpty() && reader.name() == QLatin1String("title")) {
            item.title = reader.readElementText().trimmed();
        } else if (reader.namespaceUri().isEmpty() && reader.name() == QLatin1String("link")) {
            link = webUrl(reader.readElementText());
        } else if (reader.namespaceUri().isEmpty() && reader.name() == QLatin1String("enclosure")) {
            readEnclosure(reader, item);
            reader.skipCurrentElement();
        } else if (isSparkle(reader, QLatin1String("version"))) {
            item.version = reader.readElementText().trimmed();
        } else if (isSparkle(reader, QLatin1String("shortVersionString"))) {
            item.shortVersion = reader.readElementText().trimmed();
        } else {
            reader.skipCurrentElement();
        }
    }
    if (!item.downloadUrl.isValid())
        item.downloadUrl = link;
    return item;
}

} // namespace

AppcastParseResult parseAppcast(const QByteArray &document) {
    AppcastParseResult result;
    QXmlStreamReader reader(document);
    bool sawChannel = false;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("channel"))
            sawChannel = true;
        if (reader.name() == QLatin1String("item") && reader.namespaceUri().isEmpty()) {
            AppcastItem item = readItem(reader);
            if (!item.version.isEmpty())
                result.items << item;
        }
    }
    if (reader.hasError()) {
        result.items.clear();
        result.error = reader.errorString();
    } else if (!sawChannel) {
        result.error = QStringLiteral("it is not an update feed");
    }
    return result;
}

std::optional<AppcastItem> newestItem(const QList<AppcastItem> &items) {
    std::optional<AppcastItem> newest;
    for (const AppcastItem &item : items) {
        if (!newest || compareVersions(item.version, newest->version) > 0)
            newest = item;
    }
    return newest;
}
