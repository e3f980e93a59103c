#pragma once

#include <QWidget>

// A one-pixel horizontal separator, drawn at the given opacity.
class DividerLine : public QWidget {
    Q_OBJECT
public:
    explicit DividerLine(qreal opacity, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_opacity;
};
