#include "support/FakeFileWatcher.h"

std::unique_ptr<FileWatch> FakeFileWatcher::watch(const QString &path,
                                                  std::chrono::milliseconds settleTime) {
    if (!watchable)
        return nullptr;
    watchedPaths.append(path);
    lastSettleTime = settleTime;
    auto watch = std::make_unique<FileWatch>();
    m_watches.append(watch.get());
    return watch;
}

QList<FileWatch *> FakeFileWatcher::liveWatches() const {
    QList<FileWatch *> live;
    for (const auto &watch : m_watches) {
        if (watch)
            live.append(watch);
    }
    return live;
}
