#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>
#include <optional>

// One release offered by a Sparkle-style appcast.
struct AppcastItem {
    QString title;
    // The machine version, compared with our build number ("sparkle:version").
    QString version;
    // The version shown to people ("sparkle:shortVersionString"); the version when absent.
    QString shortVersion;
    // The enclosure's url, else the item's link; only http and https are taken.
    QUrl downloadUrl;

    QString displayVersion() const { return shortVersion.isEmpty() ? version : shortVersion; }
};

struct AppcastParseResult {
    QList<AppcastItem> items;
    // Empty when the document was read; otherwise what was wrong with it.
    QString error;
};

// Reads the RSS items of an appcast. Items without a version are skipped.
AppcastParseResult parseAppcast(const QByteArray &document);

// The item with the highest version, if any.
std::optional<AppcastItem> newestItem(const QList<AppcastItem> &items);
