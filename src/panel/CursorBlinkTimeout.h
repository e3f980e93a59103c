#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

class QWidget;

// Stops the text cursor blinking ten seconds after the field last got the focus or a key, as
// GNOME does: a panel left open then wakes the program for nothing. The cursor stays shown.
class CursorBlinkTimeout : public QObject {
    Q_OBJECT
public:
    explicit CursorBlinkTimeout(QWidget *field,
                                std::chrono::milliseconds timeout = std::chrono::seconds(10));

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_field;
    QTimer m_timeout;
};
