#include "stores/ClosedTabsCodec.h"

#include <cstdint>
#include <cstdlib>

// Any bytes: decoding must not crash, and whatever it accepts must survive a save and a reload
// unchanged.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto decoded = ClosedTabsCodec::decode(bytes);
    if (!decoded)
        return 0;
    const auto reloaded = ClosedTabsCodec::decode(ClosedTabsCodec::encode(*decoded));
    if (!reloaded || *reloaded != *decoded)
        std::abort();
    return 0;
}
