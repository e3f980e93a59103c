#include "hotkey/HotkeyBinding.h"
#include "hotkey/KeyCodeTable.h"
#include "hotkey/KeyNames.h"

#include <QSettings>
#include <QTest>

class TestHotkeyBinding : public QObject {
    Q_OBJECT

private:
    static QSettings settings() {
        return QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
    }

private slots:
    void init() { settings().clear(); }

    void keyCodeTableMatchesPositions_data() {
        QTest::addColumn<quint32>("mac");
        QTest::addColumn<quint32>("evdev");
        QTest::newRow("A") << 0u << 30u;
        QTest::newRow("K") << 40u << 37u;
        QTest::newRow("Z") << 6u << 44u;
        QTest::newRow("5") << 23u << 6u;
        QTest::newRow("6") << 22u << 7u;
        QTest::newRow("0") << 29u << 11u;
        QTest::newRow("Return") << 36u << 28u;
        QTest::newRow("Tab") << 48u << 15u;
        QTest::newRow("Space") << 49u << 57u;
        QTest::newRow("Backspace") << 51u << 14u;
        QTest::newRow("Escape") << 53u << 1u;
        QTest::newRow("Forward Delete") << 117u << 111u;
        QTest::newRow("Grave") << 50u << 41u;
        QTest::newRow("Quote") << 39u << 40u;
        QTest::newRow("F1") << 122u << 59u;
        QTest::newRow("F11") << 103u << 87u;
        QTest::newRow("F12") << 111u << 88u;
        QTest::newRow("Home") << 115u << 102u;
        QTest::newRow("Page Down") << 121u << 109u;
        QTest::newRow("Left") << 123u << 105u;
        QTest::newRow("Up") << 126u << 103u;
        QTest::newRow("Keypad Enter") << 76u << 96u;
        QTest::newRow("Keypad 0") << 82u << 82u;
        QTest::newRow("Keypad 8") << 91u << 72u;
    }

    void keyCodeTableMatchesPositions() {
        QFETCH(quint32, mac);
        QFETCH(quint32, evdev);
        QCOMPARE(KeyCodeTable::evdevFromMac(mac), evdev);
        QCOMPARE(KeyCodeTable::macFromEvdev(evdev), mac);
    }

    void keyCodeTableIsOneToOne() {
        int mapped = 0;
        for (quint32 mac = 0; mac < 200; ++mac) {
            const auto evdev = KeyCodeTable::evdevFromMac(mac);
            if (!evdev)
                continue;
            ++mapped;
            QCOMPARE(KeyCodeTable::macFromEvdev(*evdev), mac);
        }
        // 26 letters, 10 digits, 11 punctuation, 6 editing keys, 12 F keys, 8 navigation
        // keys, 11 keypad keys.
        QCOMPARE(mapped, 84);
    }

    void keysOutsideTheTableHaveNoPosition() {
        QCOMPARE(KeyCodeTable::evdevFromMac(54), std::nullopt); // right command
        QCOMPARE(KeyCodeTable::evdevFromMac(1000), std::nullopt);
        QCOMPARE(KeyCodeTable::macFromEvdev(56), std::nullopt); // left Alt
        QCOMPARE(KeyCodeTable::macFromEvdev(0), std::nullopt);
    }

    void qtKeysFallBackToTheirUsualPosition() {
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_K, false), 40u);
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_Space, false), 49u);
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_Backtab, false), 48u);
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_1, false), 18u);
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_1, true), 83u);
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_Enter, false), 76u);
        QCOMPARE(KeyCodeTable::macFromQtKey(Qt::Key_Alt, false), std::nullopt);
    }

    void keyNames_data() {
        QTest::addColumn<quint32>("keyCode");
        QTest::addColumn<QString>("name");
        QTest::newRow("A") << 0u << "A";
        QTest::newRow("B") << 11u << "B";
        QTest::newRow("6 before 5") << 22u << "6";
        QTest::newRow("5") << 23u << "5";
        QTest::newRow("0") << 29u << "0";
        QTest::newRow("K") << 40u << "K";
        QTest::newRow("Space") << 49u << "Space";
        QTest::newRow("Esc") << 53u << "Esc";
        QTest::newRow("F3") << 99u << "F3";
        QTest::newRow("F10") << 109u << "F10";
        QTest::newRow("Fwd Delete") << 117u << "Fwd Delete";
        QTest::newRow("F1") << 122u << "F1";
        QTest::newRow("left") << 123u << "←";
        QTest::newRow("up") << 126u << "↑";
        QTest::newRow("minus") << 27u << "Key 27";
        QTest::newRow("keypad") << 82u << "Key 82";
        QTest::newRow("home") << 115u << "Key 115";
        QTest::newRow("127") << 127u << "Key 127";
        QTest::newRow("huge") << 4294967295u << "Key 4294967295";
    }

    void keyNames() {
        QFETCH(quint32, keyCode);
        QFETCH(QString, name);
        QCOMPARE(keyName(keyCode), name);
    }

    void displayStrings_data() {
        QTest::addColumn<quint32>("keyCode");
        QTest::addColumn<quint32>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::newRow("default") << 49u << 0x800u << "⌥ Space";
        QTest::newRow("command A") << 0u << 0x100u << "⌘ A";
        QTest::newRow("all four") << 40u << 0x1B00u << "⌃ ⌥ ⇧ ⌘ K";
        QTest::newRow("shift command") << 40u << 0x300u << "⇧ ⌘ K";
        QTest::newRow("bare") << 49u << 0u << "Space";
        QTest::newRow("foreign bits ignored") << 126u << 0x10000u << "↑";
    }

    void displayStrings() {
        QFETCH(quint32, keyCode);
        QFETCH(quint32, modifiers);
        QFETCH(QString, text);
        QCOMPARE(displayString(HotkeyBinding{keyCode, modifiers}), text);
    }

    void storedBindings_data() {
        QTest::addColumn<QVariant>("keyCode");
        QTest::addColumn<QVariant>("modifiers");
        QTest::addColumn<quint32>("expectedKey");
        QTest::addColumn<quint32>("expectedModifiers");
        const QVariant absent;
        QTest::newRow("nothing") << absent << absent << 49u << 0x800u;
        QTest::newRow("both zero") << QVariant(0) << QVariant(0) << 49u << 0x800u;
        QTest::newRow("command A") << QVariant(0) << QVariant(0x100) << 0u << 0x100u;
        QTest::newRow("bare space") << QVariant(49) << QVariant(0) << 49u << 0u;
        QTest::newRow("only key") << QVariant(40) << absent << 40u << 0u;
        QTest::newRow("largest") << QVariant(qlonglong(4294967295LL)) << QVariant(0x100)
                                 << 4294967295u << 0x100u;
        QTest::newRow("negative") << QVariant(-1) << QVariant(0x100) << 49u << 0x800u;
        QTest::newRow("too large")
            << QVariant(40) << QVariant(qlonglong(4294967296LL)) << 49u << 0x800u;
        QTest::newRow("not a number")
            << QVariant(QStringLiteral("space")) << QVariant(0x800) << 49u << 0x800u;
    }

    void storedBindings() {
        QFETCH(QVariant, keyCode);
        QFETCH(QVariant, modifiers);
        QFETCH(quint32, expectedKey);
        QFETCH(quint32, expectedModifiers);
        {
            QSettings s = settings();
            if (keyCode.isValid())
                s.setValue(QLatin1String(hotkeyKeyCodeKey), keyCode);
            if (modifiers.isValid())
                s.setValue(QLatin1String(hotkeyModifiersKey), modifiers);
        }
        const HotkeyBinding expected{expectedKey, expectedModifiers};
        QVERIFY(loadBinding() == expected);
    }

    void savedBindingsLoadBack() {
        saveBinding({40, 0x1B00});
        QCOMPARE(settings().value(QLatin1String(hotkeyKeyCodeKey)).toLongLong(), 40);
        QCOMPARE(settings().value(QLatin1String(hotkeyModifiersKey)).toLongLong(), 0x1B00);
        QVERIFY((loadBinding() == HotkeyBinding{40, 0x1B00}));
    }

    void carbonModifiersFromQt_data() {
        QTest::addColumn<Qt::KeyboardModifiers>("qt");
        QTest::addColumn<quint32>("carbon");
        QTest::newRow("none") << Qt::KeyboardModifiers() << 0u;
        QTest::newRow("super is command") << Qt::KeyboardModifiers(Qt::MetaModifier) << 0x100u;
        QTest::newRow("alt is option") << Qt::KeyboardModifiers(Qt::AltModifier) << 0x800u;
        QTest::newRow("shift") << Qt::KeyboardModifiers(Qt::ShiftModifier) << 0x200u;
        QTest::newRow("ctrl is control") << Qt::KeyboardModifiers(Qt::ControlModifier) << 0x1000u;
        QTest::newRow("all") << (Qt::MetaModifier | Qt::AltModifier | Qt::ShiftModifier |
                                 Qt::ControlModifier)
                             << 0x1B00u;
        QTest::newRow("keypad and group switch ignored")
            << (Qt::KeypadModifier | Qt::GroupSwitchModifier) << 0u;
    }

    void carbonModifiersFromQt() {
        QFETCH(Qt::KeyboardModifiers, qt);
        QFETCH(quint32, carbon);
        QCOMPARE(carbonModifiers(qt), carbon);
        QCOMPARE(qtModifiers(carbon), qt & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier));
    }
};

QTEST_GUILESS_MAIN(TestHotkeyBinding)
#include "tst_hotkeybinding.moc"
