#include "panel/PanelLineEdit.h"

#include "panel/CursorBlinkTimeout.h"

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

void PanelLineEdit::keyPressEvent(QKeyEvent *event) {
    // The keypad's Enter is Return to the user.
    const int key = event->key() == Qt::Key_Enter ? int(Qt::Key_Return) : event->key();
    if (onKey && onKey(key, event->modifiers())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
