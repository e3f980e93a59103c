#pragma once

#include <QLineEdit>

#include <functional>

// A frameless text field on a transparent background whose owner sees each key first: when
// `onKey` returns true the key is consumed, otherwise the field acts on it as usual.
class PanelLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit PanelLineEdit(QWidget *parent = nullptr);

    std::function<bool(int key, Qt::KeyboardModifiers modifiers)> onKey;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
};
