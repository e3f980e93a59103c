#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <QList>

#include <optional>
#include <type_traits>

// Decodes every element of a JSON array with `decodeElement`, which returns an optional value.
// All or nothing: none if `value` is not an array or any element fails.
template <typename DecodeElement>
auto decodeArray(const QJsonValue &value, DecodeElement decodeElement)
    -> std::optional<QList<typename std::invoke_result_t<DecodeElement, QJsonValue>::value_type>> {
    if (!value.isArray())
        return std::nullopt;
    QList<typename std::invoke_result_t<DecodeElement, QJsonValue>::value_type> decoded;
    for (const QJsonValue &element : value.toArray()) {
        auto item = decodeElement(element);
        if (!item)
            return std::nullopt;
        decoded.append(std::move(*item));
    }
    return decoded;
}
