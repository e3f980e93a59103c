#pragma once

#include <QCollator>
#include <QString>

// The order in which tab titles are shown and filed: locale-aware and case-insensitive.
class TitleOrder {
public:
    TitleOrder();

    int compare(const QString &a, const QString &b) const { return m_collator.compare(a, b); }
    bool operator()(const QString &a, const QString &b) const { return compare(a, b) < 0; }

private:
    QCollator m_collator;
};
