#pragma once

#include <QObject>
#include <QSet>
#include <QString>

// The tabs picked with Ctrl-click, by stable id; never saved. selectedIDsChanged() fires only
// when the set really changes.
class SelectionStore : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    QSet<QString> selectedIDs() const { return m_selectedIDs; }

    void toggle(const QString &stableID);
    void clear();

signals:
    void selectedIDsChanged();

private:
    QSet<QString> m_selectedIDs;
};
