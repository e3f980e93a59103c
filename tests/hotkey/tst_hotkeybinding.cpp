#include "hotkey/HotkeyBinding.h"
#include "hotkey/KeyCodeTable.h"
#include "hotkey/KeyNames.h"
#include "hotkey/PortalTrigger.h"

#include <QKeySequence>
#include <QSettings>
#include <QTest>

class TestHotkeyBinding : public QObject {
    Q_OBJECT

    static QSettings settings() {
        return QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
    }

private slots:
    void init() { settings().clear(); }

    // The keys whose place, name or keysym does not follow from the others, where a slip grabs or
    // names another key: the mac numbering has 6 before 5, the ISO key left of Z, and the names
    // macOS gives differently.
    void irregularKeys_data() {
        QTest::addColumn<quint32>("mac");
        QTest::addColumn<quint32>("evdev");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("keysym");
        const auto row = [](const char *name, quint32 mac, quint32 evdev, const char *keysym) {
            QTest::newRow(name) << mac << evdev << QString::fromUtf8(name) << keysym;
        };
        row("5", 23, 6, "5"), row("6", 22, 7, "6"), row("<", 10, 86, "less");
        row("Backspace", 51, 14, "BackSpace"), row("Del", 117, 111, "Delete");
        row("PgUp", 116, 104, "Prior"), row("Num+Enter", 76, 96, "KP_Enter");
    }
    void irregularKeys() {
        QFETCH(quint32, mac);
        QFETCH(quint32, evdev);
        QFETCH(QString, name);
        QFETCH(QString, keysym);
        QCOMPARE(KeyCodeTable::evdevFromMac(mac), evdev);
        QCOMPARE(keyName(mac), name);
        QCOMPARE(portalTrigger({mac, 0}), keysym);
    }

    // Every key the recorder accepts can be grabbed, offered to a desktop portal and is named
    // as Linux names it: Backspace was "Delete", Home and the keypad "Key 115" and the like.
    void everyKeyRoundTripsAndHasItsLinuxName() {
        int mapped = 0;
        for (quint32 mac = 0; mac < 200; ++mac) {
            const auto evdev = KeyCodeTable::evdevFromMac(mac);
            if (!evdev) {
                QCOMPARE(keyName(mac), QStringLiteral("Unknown key"));
                continue;
            }
            ++mapped;
            QCOMPARE(KeyCodeTable::macFromEvdev(*evdev), mac);
            QVERIFY2(!portalTrigger({mac, 0}).isEmpty(), qPrintable(keyName(mac)));
            const auto key = KeyCodeTable::qtKeyFromMac(mac);
            const QKeyCombination combination(key->keypad ? Qt::KeypadModifier : Qt::NoModifier,
                                              Qt::Key(key->key));
            QCOMPARE(keyName(mac), QKeySequence(combination).toString(QKeySequence::PortableText));
        }
        QCOMPARE(mapped, 100);
        QCOMPARE(KeyCodeTable::macFromEvdev(56), std::nullopt); // left Alt
        // Without a scan code, the keypad's digits are told from the main block's.
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_1, false), 18u);
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_1, true), 83u);
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_Backtab, false), 48u); // Shift+Tab
    }

    // A damaged setting gives Alt+Space, never a shortcut nobody can press.
    void storedBindings_data() {
        QTest::addColumn<QVariant>("keyCode");
        QTest::addColumn<QVariant>("modifiers");
        QTest::addColumn<HotkeyBinding>("expected");
        const HotkeyBinding optionSpace;
        QTest::newRow("both zero") << QVariant(0) << QVariant(0) << optionSpace;
        QTest::newRow("key 0 is A") << QVariant(0) << QVariant(0x100) << HotkeyBinding{0, 0x100};
        QTest::newRow("too large") << QVariant(40) << QVariant(4294967296LL) << optionSpace;
        QTest::newRow("negative") << QVariant(-1) << QVariant(0x100) << optionSpace;
        QTest::newRow("not a number") << QVariant("space") << QVariant(0x800) << optionSpace;
    }

    void storedBindings() {
        QFETCH(QVariant, keyCode);
        QFETCH(QVariant, modifiers);
        QFETCH(HotkeyBinding, expected);
        settings().setValue(QLatin1String(hotkeyKeyCodeKey), keyCode);
        settings().setValue(QLatin1String(hotkeyModifiersKey), modifiers);
        QVERIFY(loadBinding() == expected);
        saveBinding({40, 0x1B00});
        QVERIFY((loadBinding() == HotkeyBinding{40, 0x1B00}));
    }

    // Modifiers are stored in the Mac app's bits and offered to the desktop in its names: a wrong
    // one grabs or binds another shortcut than the one recorded, and a key the desktop cannot
    // name is not offered at all.
    void modifiersAsStoredAndAsOffered() {
        const auto all =
            Qt::MetaModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::ControlModifier;
        QCOMPARE(carbonModifiers(Qt::MetaModifier), 0x100u);
        QCOMPARE(carbonModifiers(Qt::AltModifier), 0x800u);
        QCOMPARE(carbonModifiers(all | Qt::KeypadModifier), 0x1B00u);
        QCOMPARE(qtModifiers(0x1B00), all);
        QCOMPARE(portalTrigger({40, 0x1B00}), QStringLiteral("CTRL+ALT+SHIFT+LOGO+k"));
        QCOMPARE(portalTrigger({0x3F, 0x800}), QString());
    }
};

QTEST_GUILESS_MAIN(TestHotkeyBinding)
#include "tst_hotkeybinding.moc"
