#pragma once

#include <QMetaType>
#include <QString>

// A running desktop application, known by the class and instance names of its windows.
struct RunningApplication {
    QString instanceName;
    QString className;

    bool hasIdentifier(const QString &identifier) const {
        return !identifier.isEmpty() && (className == identifier || instanceName == identifier);
    }

    friend bool operator==(const RunningApplication &, const RunningApplication &) = default;
};

Q_DECLARE_METATYPE(RunningApplication)
