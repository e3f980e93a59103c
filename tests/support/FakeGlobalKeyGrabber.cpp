#include "support/FakeGlobalKeyGrabber.h"

bool FakeGlobalKeyGrabber::grab(quint32 evdevCode, Qt::KeyboardModifiers modifiers) {
    release();
    ++m_grabCount;
    const Chord chord{evdevCode, modifiers};
    if (m_taken == chord)
        return false;
    m_grabbed = chord;
    return true;
}

void FakeGlobalKeyGrabber::release() {
    m_grabbed.reset();
}

void FakeGlobalKeyGrabber::press(quint32 evdevCode, Qt::KeyboardModifiers modifiers) {
    if (m_grabbed == Chord{evdevCode, modifiers})
        emit activated();
}
