#pragma once

#include <QString>
#include <QUrl>

// Parses absolute URLs exactly as QUrl's strict mode does, but parses each scheme and authority
// only once. All thumbnails of a session file share one origin, and parsing it again for each
// of 2,000 long addresses (host name checks, strict validation) was most of a file's read time.
class StrictUrlParser {
public:
    // The URL when it is valid in QUrl::StrictMode and not empty, else an empty QUrl.
    QUrl parse(const QString &text);

private:
    QString lastOriginText; // "scheme://authority" of the last URL
    QUrl lastOrigin;        // that text parsed strictly
};
