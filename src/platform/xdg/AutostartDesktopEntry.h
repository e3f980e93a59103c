#pragma once

#include "platform/AutostartService.h"

#include <QString>

// Start at login through the XDG autostart directory: a desktop entry
// "$XDG_CONFIG_HOME/autostart/nookery.desktop" that starts the running binary. It counts as
// enabled while the file exists and is not switched off (Hidden=true, or GNOME's
// X-GNOME-Autostart-enabled=false).
class AutostartDesktopEntry : public AutostartService {
public:
    AutostartDesktopEntry();
    AutostartDesktopEntry(QString entryPath, QString executablePath);

    bool isEnabled() const override;
    bool setEnabled(bool enabled) override;

    const QString &entryPath() const { return m_entryPath; }

    // The entry's text for an executable; exposed for its quoting rules.
    static QString entryText(const QString &executablePath);

private:
    QString m_entryPath;
    QString m_executablePath;
};
