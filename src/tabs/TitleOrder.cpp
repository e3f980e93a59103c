#include "tabs/TitleOrder.h"

#include <QLocale>

TitleOrder::TitleOrder() {
    // The C locale would order by code point, putting "Écrin" after "Zebra".
    if (QLocale().language() == QLocale::C)
        m_collator.setLocale(QLocale(QLocale::English));
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}
