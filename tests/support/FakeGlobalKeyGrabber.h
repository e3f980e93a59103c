#pragma once

#include "platform/GlobalKeyGrabber.h"

#include <optional>

// Records what is grabbed; `press` plays a key press as the desktop would report it.
class FakeGlobalKeyGrabber : public GlobalKeyGrabber {
public:
    struct Chord {
        quint32 evdevCode = 0;
        Qt::KeyboardModifiers modifiers;
        friend bool operator==(const Chord &, const Chord &) = default;
    };

    bool grab(quint32 evdevCode, Qt::KeyboardModifiers modifiers) override {
        ++m_grabCount;
        const Chord chord{evdevCode, modifiers};
        m_grabbed = m_taken == chord ? std::nullopt : std::optional(chord);
        return m_grabbed.has_value();
    }
    void release() override { m_grabbed.reset(); }

    // The chord currently held, if any.
    std::optional<Chord> grabbed() const { return m_grabbed; }
    int grabCount() const { return m_grabCount; }
    // Chords that "another program" holds: grabbing them fails.
    void setTaken(const Chord &chord) { m_taken = chord; }
    void press(quint32 evdevCode, Qt::KeyboardModifiers modifiers) {
        if (m_grabbed == Chord{evdevCode, modifiers})
            emit activated();
    }

private:
    std::optional<Chord> m_grabbed;
    std::optional<Chord> m_taken;
    int m_grabCount = 0;
};
