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

    // The name as menus and rows show it: control characters and line breaks as spaces, so that
    // a pasted tab cannot split a menu entry into columns, nor a line break a row. The stored
    // name stays as it was given.
    QString displayName() const;

    friend bool operator==(const TabFolder &, const TabFolder &) = default;
};
