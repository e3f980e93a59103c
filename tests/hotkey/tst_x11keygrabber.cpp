#include "hotkey/SpotlightSearchController.h"
#include "panel/PanelFooterView.h"
#include "platform/x11/X11KeyGrabber.h"
#include "settings/ShortcutHandlerNote.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <xcb/xcb.h>

namespace {

constexpr quint32 evdevSpace = 57;
constexpr quint32 evdevK = 37;
constexpr xcb_keycode_t x11K = 45;
constexpr xcb_keycode_t x11Space = 65;

// Runs xdotool with the arguments, waiting until it is done.
void xdotool(const QStringList &arguments) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

// Plays "another program" on its own X connection.
class OtherClient {
public:
    OtherClient()
        : m_connection(xcb_connect(nullptr, nullptr))
        , m_root(xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root) {}
    ~OtherClient() { xcb_disconnect(m_connection); }

    bool grab(xcb_keycode_t keycode, quint16 modifiers) {
        xcb_generic_error_t *error = xcb_request_check(
            m_connection, xcb_grab_key_checked(m_connection, 1, m_root, modifiers, keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        free(error);
        return !error;
    }

    // Moves the keys of one modifier to another, as a layout tool would.
    void moveModifier(int from, int to) {
        auto *reply = xcb_get_modifier_mapping_reply(
            m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
        const int per = reply->keycodes_per_modifier;
        xcb_keycode_t *first = xcb_get_modifier_mapping_keycodes(reply);
        std::vector<xcb_keycode_t> codes(first, first + 8 * per);
        free(reply);
        for (int i = 0; i < per; ++i)
            std::swap(codes[to * per + i], codes[from * per + i]);
        free(xcb_set_modifier_mapping_reply(
            m_connection, xcb_set_modifier_mapping(m_connection, per, codes.data()), nullptr));
    }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_root;
};

} // namespace

class TestX11KeyGrabber : public QObject {
    Q_OBJECT

    std::unique_ptr<X11KeyGrabber> m_grabber;

private slots:
    void init() {
        m_grabber = X11KeyGrabber::create();
        QVERIFY(m_grabber);
    }

    void cleanup() { m_grabber.reset(); }

    // With Num Lock or Caps Lock on, a grab of the plain chord hears nothing: each lock state is
    // grabbed too, and other modifiers do not fire it.
    void firesOncePerPressAlsoWithNumLockAndCapsLock() {
        QVERIFY(m_grabber->grab(evdevSpace, Qt::AltModifier));
        QSignalSpy activated(m_grabber.get(), &GlobalKeyGrabber::activated);
        xdotool({"key", "space", "ctrl+space", "super+space", "alt+space"});
        QTRY_COMPARE(activated.count(), 1);
        // Num Lock on, both on, Caps Lock on, then both off again.
        for (const char *lock : {"Num_Lock", "Caps_Lock", "Num_Lock"}) {
            activated.clear();
            xdotool({"key", lock, "alt+space"});
            QTRY_COMPARE(activated.count(), 1);
        }
        xdotool({"key", "Caps_Lock"});
    }

    // A chord another program holds answers BadAccess: the grab fails quietly and holds no part
    // of the chord, and once ours, a release hands it back.
    void chordHeldByAnotherProgramFailsQuietlyAndLeavesNoGrabBehind() {
        {
            OtherClient other;
            QVERIFY(other.grab(x11K, XCB_MOD_MASK_1));
            QVERIFY(!m_grabber->grab(evdevK, Qt::AltModifier));
            QVERIFY(m_grabber->grab(evdevK, Qt::ShiftModifier | Qt::AltModifier));
        }
        QSignalSpy activated(m_grabber.get(), &GlobalKeyGrabber::activated);
        QTRY_VERIFY(m_grabber->grab(evdevK, Qt::AltModifier)); // once the server saw it go
        xdotool({"key", "alt+k"});
        QTRY_COMPARE(activated.count(), 1);

        OtherClient other;
        QVERIFY(!other.grab(x11K, XCB_MOD_MASK_1));
        m_grabber->release();
        QVERIFY(other.grab(x11K, XCB_MOD_MASK_1));
    }

    // Another program holds Alt+Space (openbox, GNOME and KDE bind it to the window menu): the
    // settings and the footer say so instead of naming a key that does nothing, until another
    // shortcut is recorded.
    void chordHeldByAnotherProgramIsShownUnavailableUntilAnotherIsRecorded() {
        m_grabber.reset();
        OtherClient other;
        QVERIFY(other.grab(x11Space, XCB_MOD_MASK_1));
        SpotlightSearchController controller(X11KeyGrabber::create());
        controller.configure();
        const ShortcutHandlerNote note(controller, nullptr);
        const PanelFooterView footer(&controller);
        QVERIFY2(note.text().startsWith("Another program uses Alt+Space"), qPrintable(note.text()));
        QVERIFY(!note.isHidden());
        QCOMPARE(footer.hintText(), QStringLiteral("Shortcut unavailable, see Settings"));

        controller.setBinding({40, 0x1200}); // Ctrl+Shift+K, as the recorder sets it
        QVERIFY(controller.isRegistered());
        QVERIFY(note.isHidden());
        QCOMPARE(footer.hintText(), QStringLiteral("Ctrl+Shift+K to open"));
    }

    // A layout tool moving Num Lock to another modifier (MappingNotify) left the shortcut dead
    // while Num Lock was on.
    void grabsAgainWhenNumLockMovesToAnotherModifier() {
        QVERIFY(m_grabber->grab(evdevSpace, Qt::AltModifier));
        QSignalSpy activated(m_grabber.get(), &GlobalKeyGrabber::activated);
        OtherClient other;
        other.moveModifier(4, 5); // Num Lock from Mod2 to Mod3
        // Pressed again until the grabber has heard of the new mapping.
        const auto pressWithNumLock = [&] {
            xdotool({"key", "Num_Lock", "alt+space", "Num_Lock"});
            return !activated.isEmpty();
        };
        QTRY_VERIFY(pressWithNumLock());
        other.moveModifier(5, 4);
    }

    // A release that goes to another window must not leave the shortcut stuck: hold Alt, press
    // Space three times: open, close, open. The second press arrives on our popup, which closes
    // before Space comes up, so its release goes to another window.
    void shortcutStaysAliveWhileTheModifierIsHeld() {
        QVERIFY(m_grabber->grab(evdevSpace, Qt::AltModifier));
        QSignalSpy activated(m_grabber.get(), &GlobalKeyGrabber::activated);
        QWidget popup(nullptr, Qt::Popup);
        popup.resize(100, 100);
        xdotool({"keydown", "alt", "key", "space"});
        QTRY_COMPARE(activated.count(), 1);
        popup.show();
        QVERIFY(QTest::qWaitForWindowExposed(&popup));
        QTRY_VERIFY(popup.windowHandle()->setKeyboardGrabEnabled(true));
        xdotool({"keydown", "space"});
        QTRY_COMPARE(activated.count(), 2);
        popup.hide();
        xdotool({"keyup", "space"});
        QTRY_VERIFY(!m_grabber->isChordKeyHeld());
        xdotool({"key", "space", "keyup", "alt"});
        QTRY_COMPARE(activated.count(), 3);
    }
};

QTEST_MAIN(TestX11KeyGrabber)
#include "tst_x11keygrabber.moc"
