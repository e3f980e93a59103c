#pragma once

#include "stores/TabFolder.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <optional>

// What "folders.json" holds: the folders and the remembered order of the ungrouped tabs.
struct PersistedData {
    QList<TabFolder> folders;
    QStringList ungroupedOrder;

    // Compact JSON in the object form.
    QByteArray encode() const;
    // The object form, or the older bare array of folders (with an empty ungrouped order).
    // All or nothing: any missing key or mistyped value rejects the whole document.
    static std::optional<PersistedData> decode(const QByteArray &bytes);

    friend bool operator==(const PersistedData &, const PersistedData &) = default;
};
