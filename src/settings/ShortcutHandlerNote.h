#pragma once

#include <QLabel>

class SpotlightSearchController;

// One line under the shortcut recorder when the shortcut is not simply ours: the desktop
// handles it, or nothing can hear it outside X11 windows and the desktop's own keyboard
// settings must run `nookery --toggle`. Hidden otherwise.
class ShortcutHandlerNote : public QLabel {
    Q_OBJECT
public:
    ShortcutHandlerNote(const SpotlightSearchController &hotkey, QWidget *parent);

private:
    void refresh();

    const SpotlightSearchController &m_hotkey;
};
