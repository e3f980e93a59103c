#include "platform/x11/X11KeyGrabber.h"

#include "platform/PlatformLogging.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

constexpr quint32 x11KeycodeOffset = 8;
// A held key repeats: with XKB's detectable auto-repeat as further presses without releases,
// without it as release/press pairs that share one timestamp. A stuck "down" state (a release we
// never saw) expires after this long without presses, so the shortcut cannot stay dead.
constexpr qint64 heldKeyExpiryMs = 2000;
// How often the key's state is asked while its release may be lost; well below the time between
// a release and the next press of a hand.
constexpr int releaseWatchMs = 20;

constexpr xcb_keysym_t keysymNumLock = 0xff7f;
constexpr xcb_keysym_t keysymAltL = 0xffe9;
constexpr xcb_keysym_t keysymAltR = 0xffea;
constexpr xcb_keysym_t keysymSuperL = 0xffeb;
constexpr xcb_keysym_t keysymSuperR = 0xffec;

// XKB's own event codes, relative to its first event.
constexpr quint8 xkbNewKeyboardNotify = 0;
constexpr quint8 xkbMapNotify = 1;
constexpr quint8 xkbStateNotify = 2;
// Byte offset of the physically held modifiers in an XKB StateNotify event.
constexpr int xkbStateBaseModsOffset = 10;

constexpr quint16 modifierStateMask = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_LOCK |
                                      XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2 |
                                      XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

// The modifier bit (Mod1…Mod5, Shift, Lock, Control) that carries any of the keysyms.
quint16 maskFor(xcb_key_symbols_t *symbols, const xcb_get_modifier_mapping_reply_t *mapping,
                std::initializer_list<xcb_keysym_t> keysyms) {
    const xcb_keycode_t *keycodes = xcb_get_modifier_mapping_keycodes(mapping);
    const int perModifier = mapping->keycodes_per_modifier;
    for (const xcb_keysym_t keysym : keysyms) {
        std::unique_ptr<xcb_keycode_t, decltype(&std::free)> wanted(
            xcb_key_symbols_get_keycode(symbols, keysym), &std::free);
        if (!wanted)
            continue;
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t code = keycodes[modifier * perModifier + i];
                if (code == 0)
                    continue;
                for (const xcb_keycode_t *w = wanted.get(); *w != XCB_NO_SYMBOL; ++w) {
                    if (*w == code)
                        return quint16(1u << modifier);
                }
            }
        }
    }
    return 0;
}

} // namespace

std::unique_ptr<X11KeyGrabber> X11KeyGrabber::create(QObject *parent) {
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return nullptr;
    return std::make_unique<X11KeyGrabber>(x11->connection(), parent);
}

X11KeyGrabber::X11KeyGrabber(xcb_connection_t *connection, QObject *parent)
    : GlobalKeyGrabber(parent)
    , m_connection(connection) {
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const char xkbName[] = "XKEYBOARD";
    XcbReply<xcb_query_extension_reply_t> xkb(
        xcb_query_extension_reply(
            m_connection, xcb_query_extension(m_connection, sizeof(xkbName) - 1, xkbName), nullptr),
        &std::free);
    if (xkb && xkb->present)
        m_xkbFirstEvent = xkb->first_event;
    m_releaseWatch.setInterval(releaseWatchMs);
    connect(&m_releaseWatch, &QTimer::timeout, this, &X11KeyGrabber::checkKeyStillDown);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11KeyGrabber::~X11KeyGrabber() {
    if (auto *app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
    release();
}

bool X11KeyGrabber::grab(quint32 evdevCode, Qt::KeyboardModifiers modifiers) {
    release();
    if (evdevCode + x11KeycodeOffset > 255)
        return false;
    m_keycode = quint8(evdevCode + x11KeycodeOffset);
    m_modifiers = modifiers;
    m_wanted = true;
    return grabChord();
}

void X11KeyGrabber::release() {
    m_wanted = false;
    m_releaseWatch.stop();
    ungrabChord();
}

bool X11KeyGrabber::isChordKeyHeld() const {
    return m_lastPress.isValid() && m_lastPress.elapsed() < heldKeyExpiryMs;
}

void X11KeyGrabber::watchForLostRelease() {
    // A press through our popup's keyboard grab: when the shortcut closes the popup, the grab
    // ends before the key comes up and its release goes to whichever window has the focus. With
    // the modifier still held nothing else tells us, and the next press would pass for a repeat.
    if (!m_releaseWatch.isActive())
        m_releaseWatch.start();
}

void X11KeyGrabber::checkKeyStillDown() {
    XcbReply<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(m_connection, xcb_query_keymap(m_connection), nullptr), &std::free);
    const bool down = keymap && (keymap->keys[m_keycode / 8] & (1u << (m_keycode % 8)));
    if (down && isChordKeyHeld())
        return;
    m_releaseWatch.stop();
    if (!down)
        m_lastPress.invalidate();
}

X11KeyGrabber::ModifierMasks X11KeyGrabber::readModifierMasks() const {
    ModifierMasks masks{XCB_MOD_MASK_SHIFT, XCB_MOD_MASK_CONTROL, XCB_MOD_MASK_1, XCB_MOD_MASK_4,
                        0};
    XcbReply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection),
                                       nullptr),
        &std::free);
    xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_connection);
    if (mapping && symbols) {
        if (const quint16 alt = maskFor(symbols, mapping.get(), {keysymAltL, keysymAltR}))
            masks.alt = alt;
        if (const quint16 super = maskFor(symbols, mapping.get(), {keysymSuperL, keysymSuperR}))
            masks.super = super;
        masks.numLock = maskFor(symbols, mapping.get(), {keysymNumLock});
    }
    if (symbols)
        xcb_key_symbols_free(symbols);
    return masks;
}

quint16 X11KeyGrabber::chordMask(const ModifierMasks &masks) const {
    quint16 mask = 0;
    if (m_modifiers & Qt::ShiftModifier)
        mask |= masks.shift;
    if (m_modifiers & Qt::ControlModifier)
        mask |= masks.control;
    if (m_modifiers & Qt::AltModifier)
        mask |= masks.alt;
    if (m_modifiers & Qt::MetaModifier)
        mask |= masks.super;
    return mask;
}

bool X11KeyGrabber::grabChord() {
    const ModifierMasks masks = readModifierMasks();
    m_mask = chordMask(masks);
    m_ignoredLocks = quint16(XCB_MOD_MASK_LOCK | masks.numLock);

    QList<quint16> wanted{m_mask, quint16(m_mask | XCB_MOD_MASK_LOCK)};
    if (masks.numLock) {
        wanted << quint16(m_mask | masks.numLock)
               << quint16(m_mask | masks.numLock | XCB_MOD_MASK_LOCK);
    }
    bool allGranted = true;
    for (const quint16 mask : std::as_const(wanted)) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            m_connection, 1, m_root, mask, m_keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t *error = xcb_request_check(m_connection, cookie)) {
            std::free(error);
            allGranted = false;
            break;
        }
        m_heldMasks << mask;
    }
    // Half a chord would work with some lock states only: hold all of it or nothing.
    if (!allGranted)
        ungrabChord();
    qCDebug(lcHotkey) << "grab of keycode" << m_keycode << "with modifiers" << Qt::hex << m_mask
                      << (allGranted ? "held" : "refused");
    return allGranted;
}

void X11KeyGrabber::ungrabChord() {
    for (const quint16 mask : std::as_const(m_heldMasks))
        xcb_ungrab_key(m_connection, m_keycode, m_root, mask);
    if (!m_heldMasks.isEmpty())
        xcb_flush(m_connection);
    m_heldMasks.clear();
}

void X11KeyGrabber::scheduleRegrab() {
    if (!m_wanted || m_regrabPending)
        return;
    m_regrabPending = true;
    // Several notifications come for one change; grab once, after all of them.
    QTimer::singleShot(0, this, [this] {
        m_regrabPending = false;
        if (!m_wanted)
            return;
        // Switching keyboards (a second keyboard, or synthetic input) announces a new keymap
        // that mostly maps the modifiers as before. Keep a grab that still fits: between an
        // ungrab and the grab after it, a press of the shortcut would go to another window.
        const ModifierMasks masks = readModifierMasks();
        if (!m_heldMasks.isEmpty() && chordMask(masks) == m_mask &&
            quint16(XCB_MOD_MASK_LOCK | masks.numLock) == m_ignoredLocks)
            return;
        ungrabChord();
        if (!grabChord())
            emit lost();
    });
}

bool X11KeyGrabber::isChordPress(quint8 keycode, quint16 state) const {
    return !m_heldMasks.isEmpty() && keycode == m_keycode &&
           (state & modifierStateMask & ~m_ignoredLocks) == m_mask;
}

bool X11KeyGrabber::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS) {
        const auto *press = static_cast<const xcb_key_press_event_t *>(message);
        if (!isChordPress(press->detail, press->state)) {
            qCDebug(lcHotkey) << "key press" << press->detail << Qt::hex << press->state
                              << "is not the shortcut";
            return false;
        }
        const bool repeat =
            isChordKeyHeld() || (m_lastReleaseTime != 0 && press->time == m_lastReleaseTime);
        m_lastPress.start();
        if (press->event != m_root)
            watchForLostRelease();
        qCDebug(lcHotkey) << "shortcut pressed" << (repeat ? "(a repeat)" : "");
        if (!repeat)
            emit activated();
        return true;
    }
    if (type == XCB_KEY_RELEASE) {
        const auto *releaseEvent = static_cast<const xcb_key_release_event_t *>(message);
        if (releaseEvent->detail == m_keycode) {
            m_lastPress.invalidate();
            m_releaseWatch.stop();
            m_lastReleaseTime = releaseEvent->time;
        }
        return false;
    }
    if (type == XCB_MAPPING_NOTIFY) {
        const auto *mapping = static_cast<const xcb_mapping_notify_event_t *>(message);
        if (mapping->request != XCB_MAPPING_POINTER)
            scheduleRegrab();
        return false;
    }
    if (m_xkbFirstEvent && type == m_xkbFirstEvent) {
        const quint8 xkbType = reinterpret_cast<const quint8 *>(message)[1];
        if (xkbType == xkbNewKeyboardNotify || xkbType == xkbMapNotify)
            scheduleRegrab();
        // The chord's modifiers were let go, wherever the focus was. Its key release may have
        // gone to another client (our panel's keyboard grab ended first); the next press is new.
        if (xkbType == xkbStateNotify && m_mask) {
            const quint8 baseMods =
                reinterpret_cast<const quint8 *>(message)[xkbStateBaseModsOffset];
            if ((baseMods & m_mask) != m_mask)
                m_lastPress.invalidate();
        }
    }
    return false;
}
