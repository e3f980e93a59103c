#include "stores/TabFolder.h"

QString TabFolder::displayName() const {
    QString shown = name;
    for (QChar &character : shown) {
        switch (character.category()) {
        case QChar::Other_Control:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            character = QLatin1Char(' ');
            break;
        default:
            break;
        }
    }
    return shown;
}
