#include "settings/VersionComparison.h"

#include <QCollator>
#include <QVersionNumber>

int compareVersions(const QString &left, const QString &right) {
    qsizetype leftSuffixAt = 0;
    qsizetype rightSuffixAt = 0;
    const QVersionNumber leftNumber = QVersionNumber::fromString(left.trimmed(), &leftSuffixAt);
    const QVersionNumber rightNumber = QVersionNumber::fromString(right.trimmed(), &rightSuffixAt);
    if (const int numbers =
            QVersionNumber::compare(leftNumber.normalized(), rightNumber.normalized()))
        return numbers;
    const QString leftSuffix = left.trimmed().mid(leftSuffixAt);
    const QString rightSuffix = right.trimmed().mid(rightSuffixAt);
    if (leftSuffix.isEmpty() || rightSuffix.isEmpty())
        return int(leftSuffix.isEmpty()) - int(rightSuffix.isEmpty());
    // The C locale ignores numeric mode; release names are English anyway.
    QCollator collator{QLocale(QLocale::English)};
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator.compare(leftSuffix, rightSuffix);
}
