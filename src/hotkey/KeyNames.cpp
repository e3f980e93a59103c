#include "hotkey/KeyNames.h"

#include "hotkey/KeyCodeTable.h"

namespace {

// QKeySequence's portable names of the keys the table holds; it lives in Qt Gui, the binding
// in Qt Core.
QString portableName(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    switch (key) {
    case Qt::Key_Space:
        return QStringLiteral("Space");
    case Qt::Key_Escape:
        return QStringLiteral("Esc");
    case Qt::Key_Tab:
        return QStringLiteral("Tab");
    case Qt::Key_Backspace:
        return QStringLiteral("Backspace");
    case Qt::Key_Return:
        return QStringLiteral("Return");
    case Qt::Key_Enter:
        return QStringLiteral("Enter");
    case Qt::Key_Insert:
        return QStringLiteral("Ins");
    case Qt::Key_Delete:
        return QStringLiteral("Del");
    case Qt::Key_Home:
        return QStringLiteral("Home");
    case Qt::Key_End:
        return QStringLiteral("End");
    case Qt::Key_PageUp:
        return QStringLiteral("PgUp");
    case Qt::Key_PageDown:
        return QStringLiteral("PgDown");
    case Qt::Key_Left:
        return QStringLiteral("Left");
    case Qt::Key_Up:
        return QStringLiteral("Up");
    case Qt::Key_Right:
        return QStringLiteral("Right");
    case Qt::Key_Down:
        return QStringLiteral("Down");
    default:
        // Letters, digits and punctuation are named by their character.
        return QString(QChar(key));
    }
}

} // namespace

QString keyName(quint32 keyCode) {
    const auto key = KeyCodeTable::qtKeyFromMac(keyCode);
    if (!key)
        return QStringLiteral("Unknown key");
    const QString name = portableName(key->key);
    return key->keypad ? QStringLiteral("Num+") + name : name;
}
