#pragma once

#include <QObject>
#include <Qt>

// A system-wide shortcut: one key, by its evdev code, with modifiers (Meta is the Super key).
// One chord is held at a time; grabbing another releases the previous one first.
class GlobalKeyGrabber : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~GlobalKeyGrabber() override;

    // False when the desktop refuses the chord, for example because another program holds it.
    virtual bool grab(quint32 evdevCode, Qt::KeyboardModifiers modifiers) = 0;
    virtual void release() = 0;

signals:
    // The chord was pressed, in whichever application.
    void activated();
    // The chord was held, and grabbing it again after a keyboard change was refused.
    void lost();
};
