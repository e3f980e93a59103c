#pragma once

#include "ui/Style.h"

#include <QLabel>

// A text label drawn in a colour role, re-tinted when the palette changes (light and dark).
class RoleLabel : public QLabel {
    Q_OBJECT
public:
    RoleLabel(const QString &text, const QFont &font, Style::Role role, QWidget *parent = nullptr);

    void setRole(Style::Role role);

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyRole();

    Style::Role m_role;
    bool m_applying = false;
};
