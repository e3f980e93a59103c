#pragma once

#include "ui/Style.h"

#include <QAbstractButton>

// A borderless text button ("Edit", "Done"): just its label, in a colour the owner chooses, with
// the pointing-hand cursor, and a focus ring while Tab has put the keyboard on it.
class PlainTextButton : public QAbstractButton {
    Q_OBJECT
public:
    PlainTextButton(const QString &text, const QFont &font, Style::Role role,
                    QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr QSize ringPadding{5, 3};

    Style::Role m_role;
};
