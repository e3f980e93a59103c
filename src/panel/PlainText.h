#pragma once

#include <QString>

class QAbstractButton;

// Texts from the user, Figma, our files or the network, shown exactly as they are: an "&" in
// them is a character, never a mnemonic that steals an Alt shortcut.
namespace PlainText {

// For QAction and QMenu titles, which read a single "&" as a mnemonic marker.
QString menuItemText(const QString &text);

// A button's label without the Alt shortcut QAbstractButton::setText() derives from an "&".
void setButtonText(QAbstractButton &button, const QString &text);

} // namespace PlainText
