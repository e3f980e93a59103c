#pragma once

#include <QAbstractButton>

// The no-results block's offer to turn the query into a folder: symbol and text in the accent
// colour on a tinted capsule; drawn at 40% while disabled.
class CreateFolderButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CreateFolderButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
