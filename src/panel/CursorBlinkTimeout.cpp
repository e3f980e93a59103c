#include "panel/CursorBlinkTimeout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>
#include <QWidget>

namespace {

// The desktop's blink period, taken before any field stopped the blinking.
int platformFlashTime() {
    static const int flashTime = QGuiApplication::styleHints()->cursorFlashTime();
    return flashTime;
}

} // namespace

CursorBlinkTimeout::CursorBlinkTimeout(QWidget *field, std::chrono::milliseconds timeout)
    : QObject(field)
    , m_field(field) {
    platformFlashTime();
    m_timeout.setSingleShot(true);
    m_timeout.setInterval(timeout);
    // Text fields blink through the application's style hint: only the focused one may stop it.
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        if (m_field->hasFocus())
            QGuiApplication::styleHints()->setCursorFlashTime(0);
    });
    field->installEventFilter(this);
}

bool CursorBlinkTimeout::eventFilter(QObject *, QEvent *event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::KeyPress ||
        event->type() == QEvent::InputMethod) {
        QGuiApplication::styleHints()->setCursorFlashTime(platformFlashTime());
        m_timeout.start();
    }
    return false;
}
