#pragma once

#include "platform/FileWatcher.h"

#include <QList>
#include <QPointer>

// In-memory watcher for tests: hands out plain watches whose `changed` the test emits.
class FakeFileWatcher : public FileWatcher {
public:
    std::unique_ptr<FileWatch> watch(const QString &path,
                                     std::chrono::milliseconds settleTime) override;

    // When false, `watch` fails as if nothing could be watched.
    bool watchable = true;
    QStringList watchedPaths;
    std::chrono::milliseconds lastSettleTime{0};

    // The watches that still exist, oldest first.
    QList<FileWatch *> liveWatches() const;

private:
    QList<QPointer<FileWatch>> m_watches;
};
