#pragma once

#include <QString>
#include <QStringList>
#include <QUuid>

// A user folder: an ordered list of tab stable ids under a name.
struct TabFolder {
    QUuid id;
    QString name;
    QStringList tabIDs; // may name files that are closed right now
    bool isExpanded = true;

    friend bool operator==(const TabFolder &, const TabFolder &) = default;
};
