#pragma once

#include "ui/RoleLabel.h"

class SpotlightSearchController;

// One line under the shortcut recorder when the shortcut is not simply ours: the desktop
// handles it, only X11 windows hear it, or it does nothing at all, with what happened and what
// to do (record another shortcut, or bind `nookery --toggle` in the desktop's keyboard
// settings). Hidden while our own grab holds it.
class ShortcutHandlerNote : public RoleLabel {
    Q_OBJECT
public:
    ShortcutHandlerNote(const SpotlightSearchController &hotkey, QWidget *parent);

private:
    void refresh();

    const SpotlightSearchController &m_hotkey;
};
