#include "ui/RoleLabel.h"

#include <QEvent>

RoleLabel::RoleLabel(const QString &text, const QFont &font, Style::Role role, QWidget *parent)
    : QLabel(text, parent)
    , m_role(role) {
    // Never guessed as rich text: some of these texts are the user's or Figma's.
    setTextFormat(Qt::PlainText);
    setFont(font);
    applyRole();
}

void RoleLabel::setRole(Style::Role role) {
    if (role == m_role)
        return;
    m_role = role;
    applyRole();
}

void RoleLabel::changeEvent(QEvent *event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange)
        applyRole();
    QLabel::changeEvent(event);
}

void RoleLabel::applyRole() {
    if (m_applying)
        return;
    m_applying = true;
    // The role is derived from the surroundings' text colour, not from our own tinted one.
    const QPalette base = parentWidget() ? parentWidget()->palette() : QPalette();
    QPalette tinted = palette();
    tinted.setColor(QPalette::WindowText, Style::color(m_role, base));
    setPalette(tinted);
    m_applying = false;
}
