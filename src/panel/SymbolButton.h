#pragma once

#include "ui/Style.h"

#include <QAbstractButton>

// A borderless button that is only a tinted symbol (the edit-mode "trash").
class SymbolButton : public QAbstractButton {
    Q_OBJECT
public:
    SymbolButton(const QString &symbol, qreal pointSize, Style::Role role, qreal opacity = 1.0,
                 QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    qreal m_pointSize;
    Style::Role m_role;
    qreal m_opacity;
};
