#pragma once

#include "platform/FileWatch.h"

#include <QString>
#include <chrono>
#include <memory>

// Creates watches on file paths. Outlives every watch it made.
class FileWatcher {
public:
    virtual ~FileWatcher();

    // Watches `path` for writes, renames and deletion. When nothing stands at the path yet,
    // watches for its creation instead. After each delivery the watch pauses `settleTime`,
    // so events of a burst merge into the next delivery. Null when nothing can be watched.
    virtual std::unique_ptr<FileWatch> watch(const QString &path,
                                             std::chrono::milliseconds settleTime) = 0;
};
