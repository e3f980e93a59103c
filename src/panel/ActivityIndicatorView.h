#pragma once

#include <QWidget>

class QVariantAnimation;

// An indeterminate spinner: twelve fading spokes turning while the widget is shown.
class ActivityIndicatorView : public QWidget {
    Q_OBJECT
public:
    explicit ActivityIndicatorView(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {20, 20}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QVariantAnimation *m_rotation;
    int m_step = 0;
};
