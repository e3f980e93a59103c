#include "panel/InPlaceNameField.h"

#include "ui/Style.h"

#include <QKeyEvent>

InPlaceNameField::InPlaceNameField(const QString &text, QWidget *parent)
    : QLineEdit(text, parent) {
    setFrame(false);
    setFont(Style::font(15, QFont::DemiBold));
    setPlaceholderText(tr("Folder name"));
    setAccessibleName(tr("Folder name"));
    setAttribute(Qt::WA_MacShowFocusRect, false);
    QPalette transparent = palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    setPalette(transparent);
}

void InPlaceNameField::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit submitted();
        return;
    case Qt::Key_Escape:
        emit cancelled();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}
