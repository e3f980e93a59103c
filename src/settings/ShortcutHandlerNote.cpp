#include "settings/ShortcutHandlerNote.h"

#include "hotkey/SpotlightSearchController.h"
#include "ui/Style.h"

ShortcutHandlerNote::ShortcutHandlerNote(const SpotlightSearchController &hotkey, QWidget *parent)
    : QLabel(parent)
    , m_hotkey(hotkey) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setFont(Style::font(11));
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Style::color(Style::Role::Secondary, colours));
    setPalette(colours);
    connect(&hotkey, &SpotlightSearchController::handlerChanged, this,
            &ShortcutHandlerNote::refresh);
    refresh();
}

void ShortcutHandlerNote::refresh() {
    switch (m_hotkey.handler()) {
    case SpotlightSearchController::Handler::KeyGrab:
        setText({});
        break;
    case SpotlightSearchController::Handler::Desktop:
        setText(QStringLiteral("Your desktop handles this shortcut."));
        break;
    case SpotlightSearchController::Handler::Nobody:
        setText(
            QStringLiteral("X11 windows only: bind “nookery --toggle” in your keyboard settings."));
        break;
    }
    setVisible(!text().isEmpty());
}
