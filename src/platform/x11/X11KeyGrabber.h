#pragma once

#include "platform/GlobalKeyGrabber.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QList>
#include <QTimer>
#include <memory>

struct xcb_connection_t;

// Holds a chord with passive key grabs on the X root window, in all four Num Lock / Caps Lock
// states, and grabs again when the keyboard mapping changes. Key presses reach it through the
// application's native event filter, also those that arrive on our own popup while it holds the
// keyboard.
class X11KeyGrabber : public GlobalKeyGrabber, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Null when the application does not run on X11.
    static std::unique_ptr<X11KeyGrabber> create(QObject *parent = nullptr);

    X11KeyGrabber(xcb_connection_t *connection, QObject *parent = nullptr);
    ~X11KeyGrabber() override;

    bool grab(quint32 evdevCode, Qt::KeyboardModifiers modifiers) override;
    void release() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // Whether the chord's key counts as held, so a press now would be taken for its repeat.
    bool isChordKeyHeld() const;

private:
    struct ModifierMasks {
        quint16 shift = 0;
        quint16 control = 0;
        quint16 alt = 0;
        quint16 super = 0;
        quint16 numLock = 0;
    };

    ModifierMasks readModifierMasks() const;
    quint16 chordMask(const ModifierMasks &masks) const;
    bool grabChord();
    void ungrabChord();
    void scheduleRegrab();
    bool isChordPress(quint8 keycode, quint16 state) const;
    void watchForLostRelease();
    void checkKeyStillDown();

    xcb_connection_t *m_connection;
    quint32 m_root = 0;
    quint8 m_xkbFirstEvent = 0;
    quint8 m_keycode = 0;
    Qt::KeyboardModifiers m_modifiers;
    quint16 m_mask = 0;
    quint16 m_ignoredLocks = 0;
    QList<quint16> m_heldMasks;
    bool m_wanted = false;
    bool m_regrabPending = false;
    // Set while the chord's key is down.
    QElapsedTimer m_lastPress;
    quint32 m_lastReleaseTime = 0;
    // Asks the server whether the key is still down when its release may go to another client.
    QTimer m_releaseWatch;
};
