#include "tabs/SessionReader.h"

#include <QSet>

#include <cstdint>
#include <cstdlib>

static bool holdsTogether(const TabItem &tab) {
    return tab.id.startsWith(u"figma-") && tab.url.startsWith(figmaWebOrigin) &&
           (tab.thumbnailURL.isEmpty() || tab.thumbnailURL.isValid()) && !tab.stableID().isEmpty();
}

// Any bytes: the reader must not crash, and every tab it returns must hold together.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QSet<QString> ids;
    for (const TabItem &tab : parseSessionTabs(bytes)) {
        if (!holdsTogether(tab) || ids.contains(tab.id))
            std::abort();
        ids.insert(tab.id);
        tab.displayTitle();
    }
    return 0;
}
