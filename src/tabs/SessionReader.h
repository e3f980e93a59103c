#pragma once

#include "tabs/TabItem.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// Reads the tabs open in the Figma desktop app from its session file. Stateless and
// thread-safe: every call reads the file afresh, and every failure yields no tabs.

// Scheme and host that precede a tab's path in its web address.
inline constexpr QStringView figmaWebOrigin = u"https://www.figma.com";

// Real session files are kilobytes; 2,000 open tabs with long thumbnail addresses make 1.1 MiB.
// Anything larger is not a session file. The cap also bounds the parse: 8 MiB of small nested
// values take Qt's JSON parser up to about 1 s and 300 MiB of memory.
inline constexpr qint64 maxSessionFileBytes = 8 * 1024 * 1024;

// What one read of the session file found.
struct SessionRead {
    // Implicit, so that a reader that only lists tabs reads the file whole.
    SessionRead(QList<TabItem> openTabs = {})
        : tabs(std::move(openTabs)) {}

    QList<TabItem> tabs;
    // Why a file that exists could not be read whole ("it is larger than 8 MiB"); its tabs are
    // unknown then, which is not the same as none. Empty after a read, also of a missing file.
    QString failure;
};

// The open tabs of the session file at `filePath`, windows and tabs in file order. A missing
// file, or one that is not a session file, has no tabs.
SessionRead readSession(const QString &filePath);
// The tabs alone, none when the file cannot be read whole.
QList<TabItem> readSessionTabs(const QString &filePath);

// The open tabs described by the bytes of a session file.
QList<TabItem> parseSessionTabs(const QByteArray &json);

// The whole content of a regular file of at most maxSessionFileBytes, or nothing when it is
// missing, unreadable, too large or not a regular file (directories, FIFOs and devices are
// refused without blocking). Except for a missing file, `failure` is told why.
std::optional<QByteArray> readSessionFileBytes(const QString &filePath, QString *failure = nullptr);
