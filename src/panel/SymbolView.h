#pragma once

#include "ui/Style.h"

#include <QWidget>

// A symbol or template image drawn at a fixed size in a colour role.
class SymbolView : public QWidget {
    Q_OBJECT
public:
    SymbolView(const QString &symbol, QSize size, Style::Role role, QWidget *parent = nullptr);

    QSize sizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    QSize m_size;
    Style::Role m_role;
};
