#pragma once

#include <QString>

// "Nookery 1.2 (45)"; a missing part shows as an em dash: "Nookery — (45)".
QString versionText(const QString &shortVersion, const QString &buildNumber);

// The text for this build's version and build number.
QString currentVersionText();
