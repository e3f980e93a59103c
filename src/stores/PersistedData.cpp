#include "stores/PersistedData.h"

#include "stores/JsonArrayDecoding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString folderIdKey = QStringLiteral("id");
const QString folderNameKey = QStringLiteral("name");
const QString folderTabIDsKey = QStringLiteral("tabIDs");
const QString folderExpandedKey = QStringLiteral("isExpanded");
const QString foldersKey = QStringLiteral("folders");
const QString ungroupedOrderKey = QStringLiteral("ungroupedOrder");

QString uuidText(const QUuid &id) {
    return id.toString(QUuid::WithoutBraces).toUpper();
}

// Canonical 8-4-4-4-12 text in either case; braces are not part of the stored form.
std::optional<QUuid> decodeUuid(const QJsonValue &value) {
    if (!value.isString())
        return std::nullopt;
    const QString text = value.toString();
    if (text.size() != 36)
        return std::nullopt;
    const QUuid id = QUuid::fromString(text);
    if (id.isNull() && text != uuidText(QUuid()))
        return std::nullopt;
    return id;
}

std::optional<QStringList> decodeStrings(const QJsonValue &value) {
    return decodeArray(value, [](const QJsonValue &element) -> std::optional<QString> {
        if (!element.isString())
            return std::nullopt;
        return element.toString();
    });
}

std::optional<TabFolder> decodeFolder(const QJsonValue &value) {
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const auto id = decodeUuid(object.value(folderIdKey));
    const QJsonValue name = object.value(folderNameKey);
    const auto tabIDs = decodeStrings(object.value(folderTabIDsKey));
    const QJsonValue expanded = object.value(folderExpandedKey);
    if (!id || !name.isString() || !tabIDs || !expanded.isBool())
        return std::nullopt;
    return TabFolder{*id, name.toString(), *tabIDs, expanded.toBool()};
}

QJsonObject encodeFolder(const TabFolder &folder) {
    return {{folderIdKey, uuidText(folder.id)},
            {folderNameKey, folder.name},
            {folderTabIDsKey, QJsonArray::fromStringList(folder.tabIDs)},
            {folderExpandedKey, folder.isExpanded}};
}

} // namespace

QByteArray PersistedData::encode() const {
    QJsonArray encodedFolders;
    for (const TabFolder &folder : folders)
        encodedFolders.append(encodeFolder(folder));
    const QJsonObject root{{foldersKey, encodedFolders},
                           {ungroupedOrderKey, QJsonArray::fromStringList(ungroupedOrder)}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<PersistedData> PersistedData::decode(const QByteArray &bytes) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    if (document.isArray()) {
        auto folders = decodeArray(document.array(), decodeFolder);
        if (!folders)
            return std::nullopt;
        return PersistedData{std::move(*folders), {}};
    }
    const QJsonObject root = document.object();
    auto folders = decodeArray(root.value(foldersKey), decodeFolder);
    auto order = decodeStrings(root.value(ungroupedOrderKey));
    if (!folders || !order)
        return std::nullopt;
    return PersistedData{std::move(*folders), std::move(*order)};
}
