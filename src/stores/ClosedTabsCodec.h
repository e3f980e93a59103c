#pragma once

#include "stores/ClosedTab.h"

#include <QByteArray>
#include <QList>

#include <optional>

// "recently_closed.json": a JSON array of closed tabs, dates as seconds since
// 2001-01-01T00:00:00Z.
class ClosedTabsCodec {
public:
    static QByteArray encode(const QList<ClosedTab> &tabs);
    // All or nothing: a missing key, a mistyped value or a thumbnail that is not a URL rejects
    // the whole document.
    static std::optional<QList<ClosedTab>> decode(const QByteArray &bytes);
};
