#pragma once

#include "ui/Style.h"

#include <QAbstractButton>

// A borderless text button ("Clear", "Create your first folder"): just its label, in a colour
// the owner chooses at paint time, with the pointing-hand cursor.
class PlainTextButton : public QAbstractButton {
    Q_OBJECT
public:
    PlainTextButton(const QString &text, const QFont &font, Style::Role role,
                    QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Style::Role m_role;
};
