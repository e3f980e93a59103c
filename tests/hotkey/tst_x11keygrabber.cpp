#include "platform/x11/X11KeyGrabber.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <xcb/xcb.h>

namespace {

constexpr quint32 evdevSpace = 57;
constexpr quint32 evdevK = 37;
constexpr xcb_keycode_t x11K = 45;

void xdotool(const QStringList &arguments) {
    QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

// Counts key presses that reach the window as Qt events.
class KeyCountingWindow : public QWindow {
public:
    int presses = 0;

protected:
    void keyPressEvent(QKeyEvent *) override { ++presses; }
};

} // namespace

// Plays "another program" on its own X connection.
class OtherClient {
public:
    OtherClient()
        : m_connection(xcb_connect(nullptr, nullptr)) {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~OtherClient() { xcb_disconnect(m_connection); }

    bool grab(xcb_keycode_t keycode, quint16 modifiers) {
        auto cookie = xcb_grab_key_checked(m_connection, 1, m_root, modifiers, keycode,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t *error = xcb_request_check(m_connection, cookie);
        free(error);
        return !error;
    }

    // Moves the keys of one modifier to another, as a layout tool would.
    void moveModifier(int from, int to) {
        auto *reply = xcb_get_modifier_mapping_reply(
            m_connection, xcb_get_modifier_mapping(m_connection), nullptr);
        const int perModifier = reply->keycodes_per_modifier;
        std::vector<xcb_keycode_t> codes(xcb_get_modifier_mapping_keycodes(reply),
                                         xcb_get_modifier_mapping_keycodes(reply) +
                                             8 * perModifier);
        free(reply);
        for (int i = 0; i < perModifier; ++i) {
            codes[to * perModifier + i] = codes[from * perModifier + i];
            codes[from * perModifier + i] = 0;
        }
        free(xcb_set_modifier_mapping_reply(
            m_connection, xcb_set_modifier_mapping(m_connection, perModifier, codes.data()),
            nullptr));
    }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
};

class TestX11KeyGrabber : public QObject {
    Q_OBJECT

    std::unique_ptr<X11KeyGrabber> m_grabber;

private slots:
    void init() {
        m_grabber = X11KeyGrabber::create();
        QVERIFY(m_grabber);
    }

    void cleanup() { m_grabber.reset(); }

    void grabbedChordFiresOncePerPress() {
        QVERIFY(m_grabber->grab(evdevSpace, Qt::AltModifier));
        QSignalSpy activated(m_grabber.get(), &GlobalKeyGrabber::activated);
        xdotool({QStringLiteral("key"), QStringLiteral("alt+space")});
        QTRY_COMPARE(activated.count(), 1);
        xdotool({QStringLiteral("key"), QStringLiteral("space")});
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+space")});
        xdotool({QStringLiteral("key"), QStringLiteral("alt+space")});
        QTRY_COMPARE(activated.count(), 2);
        QTest::qWait(200);
        QCOMPARE(activated.count(), 2);
    }

    void firesWithNumLockAndCapsLockOn() {
        QVERIFY(m_grabber->grab(evdevK, Qt::ControlModifier | Qt::MetaModifier));
        QSignalSpy activated(m_grabber.get(), &GlobalKeyGrabber::activated);
        xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+super+k")});
        QTRY_COMPARE(activated.count(), 1);
        xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")});
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+super+k")});
        QTRY_COMPARE(activated.count(), 2);
        xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+super+k")});
        QTRY_COMPARE(activated.count(), 3);
        xdotool({QStringLiteral("key"), QStringLiteral("Caps_Lock")});
    }

    void chordHeldByAnotherProgramFailsQuietly() {
        {
            OtherClient other;
            QVERIFY(other.grab(x11K, XCB_MOD_MASK_1));
            QVERIFY(!m_grabber->grab(evdevK, Qt::AltModifier));
            // Our half-done grabs are gone again: the other program keeps working, and a
            // different chord is still ours to take.
            QVERIFY(m_grabber->grab(evdevK, Qt::ShiftModifier | Qt::AltModifier));
        }
        QSignalSpy activated(m_grabber.get(), &GlobalKeyGrabber::activated);
        QVERIFY(m_grabber->grab(evdevK, Qt::AltModifier));
        xdotool({QStringLiteral("key"), QStringLiteral("alt+k")});
        QTRY_COMPARE(activated.count(), 1);
    }

    void releasedChordIsFreeForOthers() {
        QVERIFY(m_grabber->grab(evdevK, Qt::AltModifier));
        OtherClient other;
        QVERIFY(!other.grab(x11K, XCB_MOD_MASK_1));
        m_grabber->release();
        QVERIFY(other.grab(x11K, XCB_MOD_MASK_1));
    }

    void grabsAgainWhenNumLockMovesToAnotherModifier() {
        QVERIFY(m_grabber->grab(evdevSpace, Qt::AltModifier));
        QSignalSpy activated(m_grabber.get(), &GlobalKeyGrabber::activated);
        OtherClient other;
        // Num Lock from Mod2 (index 4) to Mod3 (index 5).
        other.moveModifier(4, 5);
        QTest::qWait(300);
        xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
        xdotool({QStringLiteral("key"), QStringLiteral("alt+space")});
        QTRY_COMPARE(activated.count(), 1);
        xdotool({QStringLiteral("key"), QStringLiteral("Num_Lock")});
        other.moveModifier(5, 4);
        QTest::qWait(300);
    }

    void firesWhileOurOwnWindowHoldsTheKeyboard() {
        QVERIFY(m_grabber->grab(evdevSpace, Qt::AltModifier));
        QSignalSpy activated(m_grabber.get(), &GlobalKeyGrabber::activated);
        KeyCountingWindow window;
        window.setFlags(Qt::Popup);
        window.setGeometry(100, 100, 200, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.setKeyboardGrabEnabled(true));
        xdotool({QStringLiteral("key"), QStringLiteral("alt+space")});
        QTRY_COMPARE(activated.count(), 1);
        xdotool({QStringLiteral("key"), QStringLiteral("x")});
        QTRY_COMPARE(window.presses, 1);
        window.setKeyboardGrabEnabled(false);
    }
};

QTEST_MAIN(TestX11KeyGrabber)
#include "tst_x11keygrabber.moc"
