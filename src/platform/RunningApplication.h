#pragma once

#include <QMetaType>
#include <QString>

// A running desktop application, known by the class and instance names of its windows.
struct RunningApplication {
    QString instanceName;
    QString className;

    // Window class names are matched in any case: a client's instance is often its class
    // in lower case ("figma", "Figma").
    bool hasIdentifier(const QString &identifier) const {
        return !identifier.isEmpty() &&
               (className.compare(identifier, Qt::CaseInsensitive) == 0 ||
                instanceName.compare(identifier, Qt::CaseInsensitive) == 0);
    }

    friend bool operator==(const RunningApplication &, const RunningApplication &) = default;
};

Q_DECLARE_METATYPE(RunningApplication)
