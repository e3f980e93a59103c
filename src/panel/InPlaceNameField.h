#pragma once

#include <QLineEdit>

// The field that edits a folder's name where the name was shown: Return submits, Escape
// cancels.
class InPlaceNameField : public QLineEdit {
    Q_OBJECT
public:
    explicit InPlaceNameField(const QString &text, QWidget *parent = nullptr);

signals:
    void submitted();
    void cancelled();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
