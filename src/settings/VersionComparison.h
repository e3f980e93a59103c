#pragma once

#include <QString>

// Compares two version strings the way release numbers are meant: "1.10" is newer than "1.9",
// and a pre-release ("1.2b1", "1.2-rc1") is older than the release itself ("1.2").
// Returns a negative number, zero or a positive number.
int compareVersions(const QString &left, const QString &right);
