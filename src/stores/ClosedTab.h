#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>

// A Figma tab that was open and then disappeared from the session.
struct ClosedTab {
    QString stableID;
    QString title;
    QString url;
    QUrl thumbnailURL; // empty when the tab had none
    QDateTime closedDate;

    friend bool operator==(const ClosedTab &, const ClosedTab &) = default;
};
