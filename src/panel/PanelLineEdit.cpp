#include "panel/PanelLineEdit.h"

#include "panel/CursorBlinkTimeout.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

PanelLineEdit::PanelLineEdit(QWidget *parent)
    : QLineEdit(parent) {
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette transparent = palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    setPalette(transparent);
    new CursorBlinkTimeout(this);
}

void PanelLineEdit::contextMenuEvent(QContextMenuEvent *event) {
    if (event->reason() == QContextMenuEvent::Keyboard && onKey &&
        onKey(Qt::Key_Menu, event->modifiers()))
        return;
    QLineEdit::contextMenuEvent(event);
}

void PanelLineEdit::keyPressEvent(QKeyEvent *event) {
    // The keypad's Enter is Return to the user.
    const int key = event->key() == Qt::Key_Enter ? int(Qt::Key_Return) : event->key();
    // The Menu key arrives as a context menu event first, where the owner sees it.
    if (key != Qt::Key_Menu && onKey && onKey(key, event->modifiers())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
