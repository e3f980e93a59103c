#include "settings/ShortcutHandlerNote.h"

#include "hotkey/SpotlightSearchController.h"

namespace {

using Status = SpotlightSearchController::Status;

QString noteText(Status status, const QString &shortcut) {
    switch (status) {
    case Status::KeyGrab:
    case Status::AskingDesktop:
        return {};
    case Status::Desktop:
        return QStringLiteral("Your desktop handles this shortcut.");
    case Status::X11WindowsOnly:
        return QStringLiteral(
            "X11 windows only: bind “nookery --toggle” in your keyboard settings.");
    case Status::KeyTaken:
        return QStringLiteral("Another program uses %1, so it does nothing here. Record another "
                              "shortcut, or bind “nookery --toggle” in your keyboard settings.")
            .arg(shortcut);
    case Status::KeyNotOnKeyboard:
        return QStringLiteral("This key is not on Linux keyboards. Record another shortcut.");
    case Status::DesktopDeclined:
        return QStringLiteral("Your desktop did not take this shortcut, so it does nothing. "
                              "Record another one, or bind “nookery --toggle” in your keyboard "
                              "settings.");
    case Status::DesktopRemoved:
        return QStringLiteral("Your desktop’s settings removed this shortcut, so it does nothing. "
                              "Record it again, or bind “nookery --toggle” in your keyboard "
                              "settings.");
    }
    return {};
}

} // namespace

ShortcutHandlerNote::ShortcutHandlerNote(const SpotlightSearchController &hotkey, QWidget *parent)
    : RoleLabel(QString(), Style::font(11), Style::Role::Secondary, parent)
    , m_hotkey(hotkey) {
    setWordWrap(true);
    connect(&hotkey, &SpotlightSearchController::statusChanged, this,
            &ShortcutHandlerNote::refresh);
    refresh();
}

void ShortcutHandlerNote::refresh() {
    setText(noteText(m_hotkey.status(), m_hotkey.shortcutText()));
    setRole(m_hotkey.isDead() ? Style::Role::Red : Style::Role::Secondary);
    setVisible(!text().isEmpty());
}
