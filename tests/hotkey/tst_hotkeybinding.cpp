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

    // The keys whose place, name or keysym does not follow from the others: the mac numbering
    // has 6 before 5, the ISO key left of Z, and the names macOS gives differently.
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

    void displayStrings_data() {
        QTest::addColumn<HotkeyBinding>("binding");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Alt") << HotkeyBinding{49, 0x800} << "Alt+Space";
        QTest::newRow("all four, in order")
            << HotkeyBinding{40, 0x1B00} << "Ctrl+Alt+Shift+Super+K";
        QTest::newRow("foreign bits ignored") << HotkeyBinding{126, 0x10000} << "Up";
        QTest::newRow("no Linux key") << HotkeyBinding{~0u, 0x300} << "Shift+Super+Unknown key";
    }
    void displayStrings() {
        QFETCH(HotkeyBinding, binding);
        QFETCH(QString, shown);
        QCOMPARE(displayString(binding), shown);
    }

    void storedBindings_data() {
        QTest::addColumn<QVariant>("keyCode");
        QTest::addColumn<QVariant>("modifiers");
        QTest::addColumn<HotkeyBinding>("expected");
        const QVariant none;
        const HotkeyBinding optionSpace;
        QTest::newRow("nothing") << none << none << optionSpace;
        QTest::newRow("both zero") << QVariant(0) << QVariant(0) << optionSpace;
        QTest::newRow("key 0 is A") << QVariant(0) << QVariant(0x100) << HotkeyBinding{0, 0x100};
        QTest::newRow("no modifier") << QVariant(49) << none << HotkeyBinding{49, 0};
        QTest::newRow("largest") << QVariant(4294967295LL) << QVariant(1)
                                 << HotkeyBinding{4294967295u, 1};
        QTest::newRow("too large") << QVariant(40) << QVariant(4294967296LL) << optionSpace;
        QTest::newRow("negative") << QVariant(-1) << QVariant(0x100) << optionSpace;
        QTest::newRow("not a number") << QVariant("space") << QVariant(0x800) << optionSpace;
    }

    void storedBindings() {
        QFETCH(QVariant, keyCode);
        QFETCH(QVariant, modifiers);
        QFETCH(HotkeyBinding, expected);
        if (keyCode.isValid())
            settings().setValue(QLatin1String(hotkeyKeyCodeKey), keyCode);
        if (modifiers.isValid())
            settings().setValue(QLatin1String(hotkeyModifiersKey), modifiers);
        QVERIFY(loadBinding() == expected);
        saveBinding({40, 0x1B00});
        QVERIFY((loadBinding() == HotkeyBinding{40, 0x1B00}));
    }

    void carbonModifiersMapSuperToCommandAndAltToOption() {
        const auto all =
            Qt::MetaModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::ControlModifier;
        QCOMPARE(carbonModifiers(Qt::MetaModifier), 0x100u);
        QCOMPARE(carbonModifiers(Qt::AltModifier), 0x800u);
        QCOMPARE(carbonModifiers(all | Qt::KeypadModifier), 0x1B00u);
        QCOMPARE(qtModifiers(0x1B00), all);
    }

    void portalTriggerModifiers_data() {
        QTest::addColumn<HotkeyBinding>("binding");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("default") << HotkeyBinding::defaultBinding() << "ALT+space";
        QTest::newRow("all modifiers, in order")
            << HotkeyBinding{40, 0x1000 | 0x800 | 0x200 | 0x100} << "CTRL+ALT+SHIFT+LOGO+k";
        // Only a trigger the desktop can read is offered.
        QTest::newRow("no Linux key") << HotkeyBinding{0x3F, 0x800} << "";
    }
    void portalTriggerModifiers() {
        QFETCH(HotkeyBinding, binding);
        QFETCH(QString, trigger);
        QCOMPARE(portalTrigger(binding), trigger);
    }
};

QTEST_GUILESS_MAIN(TestHotkeyBinding)
#include "tst_hotkeybinding.moc"
