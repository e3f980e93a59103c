#include "panel/PlainText.h"

#include <QAbstractButton>
#include <QKeySequence>

namespace PlainText {

QString menuItemText(const QString &text) {
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void setButtonText(QAbstractButton &button, const QString &text) {
    button.setText(text);
    button.setShortcut(QKeySequence());
}

} // namespace PlainText
