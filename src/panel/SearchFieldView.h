#pragma once

#include <QWidget>

#include <functional>

class PanelLineEdit;
class SymbolButton;

// The search field group: magnifying glass, the field, and a clear button while there is text,
// on a softly filled rounded rectangle. The owner sees Up, Down, Return and Escape before the
// field acts on them.
class SearchFieldView : public QWidget {
    Q_OBJECT
public:
    explicit SearchFieldView(QWidget *parent = nullptr);

    QString text() const;
    // Emits textChanged only on a real change.
    void setText(const QString &text);
    void focusField();
    bool hasFieldFocus() const;

    PanelLineEdit *field() const { return m_field; }
    SymbolButton *clearButton() const { return m_clearButton; }

    // Returns whether the key was consumed.
    void setOnKey(std::function<bool(int key, Qt::KeyboardModifiers modifiers)> onKey);

signals:
    void textChanged(const QString &text);
    // The clear button emptied the field (after textChanged).
    void clearPressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    static constexpr qreal symbolPointSize = 13;
    static int glassWidth();

    PanelLineEdit *m_field;
    SymbolButton *m_clearButton;
};
