#pragma once

#include "ui/Style.h"

#include <QAbstractButton>

// A borderless button that is only a tinted symbol. It has no text, so `label` is what its
// tooltip shows and what a screen reader calls it. Tab reaches it; it then shows a focus ring.
class SymbolButton : public QAbstractButton {
    Q_OBJECT
public:
    SymbolButton(const QString &symbol, const QString &label, qreal pointSize, Style::Role role,
                 QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    qreal m_pointSize;
    Style::Role m_role;
};
