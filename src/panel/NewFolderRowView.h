#pragma once

#include <QWidget>

class PanelLineEdit;

// The row at the top of the list where a new folder's name is typed: Return asks for the folder,
// Escape gives up. The owner decides what either means and hides the row.
class NewFolderRowView : public QWidget {
    Q_OBJECT
public:
    explicit NewFolderRowView(QWidget *parent = nullptr);

    PanelLineEdit *field() const { return m_field; }
    // Empties the field and puts the cursor in it.
    void begin();

signals:
    void submitted(const QString &typedName);
    void cancelled();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    PanelLineEdit *m_field;
};
