#pragma once

#include "platform/FileWatcher.h"

#include <QList>
#include <QPointer>

// In-memory watcher for tests: hands out plain watches whose `changed` the test emits.
class FakeFileWatcher : public FileWatcher {
public:
    std::unique_ptr<FileWatch> watch(const QString &path,
                                     std::chrono::milliseconds settleTime) override {
        watchedPaths.append(path);
        lastSettleTime = settleTime;
        auto watch = std::make_unique<FileWatch>();
        m_watches.append(watch.get());
        return watch;
    }

    QStringList watchedPaths;
    std::chrono::milliseconds lastSettleTime{0};

    // The watches that still exist, oldest first.
    QList<FileWatch *> liveWatches() const {
        QList<FileWatch *> live;
        for (const auto &watch : m_watches) {
            if (watch)
                live.append(watch);
        }
        return live;
    }

private:
    QList<QPointer<FileWatch>> m_watches;
};
