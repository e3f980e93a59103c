#pragma once

// Another program rewrites the session file as fast as it can while the whole panel is open: the
// flood test checks what must hold through it, `make bench` times the GUI thread meanwhile.

#include "panel/MenuBarView.h"
#include "platform/linux/InotifyFileWatcher.h"
#include "stores/FolderStore.h"
#include "stores/RecentlyClosedStore.h"
#include "stores/SelectionStore.h"
#include "support/FakeWorkspace.h"
#include "tabs/SessionReader.h"
#include "tabs/TabManager.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

class SessionFlood {
    // In memory where possible: a disk file system flushes each file renamed over another, and
    // the writer would fall far behind 1000 writes a second.
    QTemporaryDir m_dir{QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                            ? QStringLiteral("/dev/shm/nookery-flood-XXXXXX")
                            : QString()};
    const QByteArray m_path = QFile::encodeName(m_dir.filePath(QStringLiteral("settings.json")));
    InotifyFileWatcher m_fileWatcher;
    FakeWorkspace m_workspace;
    RecentlyClosedStore m_recentlyClosed{m_dir.filePath(QStringLiteral("data"))};
    FolderStore m_folders{m_dir.filePath(QStringLiteral("data"))};
    SelectionStore m_selection;

public:
    // The n-th session: tabs whose number, titles and active tab change each time.
    static QByteArray session(int n) {
        QByteArrayList tabs;
        for (int i = 0; i < 5 + n % 20; ++i)
            tabs.append(QStringLiteral(R"({"title":"File %1 v%2","path":"/design/K%1/F"})")
                            .arg(i)
                            .arg(n)
                            .toUtf8());
        return R"({"windows":[{"activeTabPath":"/design/K)" + QByteArray::number(n % tabs.size()) +
               R"(/F","tabs":[)" + tabs.join(',') + "]}]}";
    }

    SessionFlood() {
        options.sessionFileCandidates = {QFile::decodeName(m_path)};
        options.readSessionTabs = [this](const QString &file) {
            ++reads;
            return readSessionTabs(file);
        };
        manager = std::make_unique<TabManager>(m_fileWatcher, m_workspace, options);
        QObject::connect(manager.get(), &TabManager::tabsMayHaveClosed, &m_recentlyClosed,
                         &RecentlyClosedStore::recordClosed);
        m_folders.addTab(QStringLiteral("K3"), m_folders.createFolder(QStringLiteral("Pinned")),
                         {});
        panel = std::make_unique<MenuBarView>(PanelContext{.tabManager = manager.get(),
                                                           .folderStore = &m_folders,
                                                           .recentlyClosedStore = &m_recentlyClosed,
                                                           .selectionStore = &m_selection});
    }

    // Shows the panel on the first session, watched; whether its six tabs came.
    bool start() {
        if (!writeSession(1))
            return false;
        panel->show();
        manager->refresh();
        manager->startFileMonitor();
        const bool shown = QTest::qWaitFor([this] { return manager->tabs().size() == 6; });
        reads = 0;
        return shown;
    }

    // Writes sessions 0 to writes - 1, evenly over `time`, from another thread while this one
    // runs its events in 5 ms steps; whether every write succeeded.
    bool flood(int writes, std::chrono::milliseconds time) {
        std::atomic<bool> allWritten = true;
        std::atomic<bool> writerDone = false;
        std::thread writer([&] {
            const auto start = std::chrono::steady_clock::now();
            for (int n = 0; n < writes; ++n) {
                std::this_thread::sleep_until(start + time * n / writes);
                allWritten = writeSession(n) && allWritten;
            }
            writerDone = true;
        });
        while (!writerDone)
            QTest::qWait(5);
        writer.join();
        return allWritten;
    }

    std::atomic<int> reads = 0;
    TabManager::Options options = TabManager::Options::standard();
    std::unique_ptr<TabManager> manager;
    std::unique_ptr<MenuBarView> panel;

private:
    // Even writes replace the file by renaming a new one over it, odd ones rewrite it in place.
    bool writeSession(int n) const {
        const QByteArray target = n % 2 == 0 ? m_path + ".new" : m_path;
        const QByteArray bytes = session(n);
        const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const bool written =
            fd >= 0 && ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
        return ::close(fd) == 0 && written &&
               (target == m_path || ::rename(target.constData(), m_path.constData()) == 0);
    }
};
