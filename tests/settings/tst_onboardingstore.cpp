#include "settings/OnboardingStore.h"
#include "settings/VersionText.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTest>

class TestOnboardingStore : public QObject {
    Q_OBJECT

    static QSettings settings() {
        return QSettings(QStringLiteral("Nookery"), QStringLiteral("Nookery"));
    }

private slots:
    void init() { settings().clear(); }

    void readsTheStoredFlag_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("seen");
        QTest::newRow("absent") << QVariant() << false;
        QTest::newRow("false") << QVariant(false) << false;
        QTest::newRow("true") << QVariant(true) << true;
    }

    void readsTheStoredFlag() {
        QFETCH(QVariant, stored);
        QFETCH(bool, seen);
        if (stored.isValid())
            settings().setValue(QLatin1String(OnboardingStore::welcomeKey), stored);
        QCOMPARE(OnboardingStore().hasSeenWelcome(), seen);
    }

    void notifiesOnlyRealChangesButAlwaysWrites() {
        OnboardingStore store;
        QSignalSpy changed(&store, &OnboardingStore::hasSeenWelcomeChanged);
        store.setHasSeenWelcome(false);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(settings().value(QLatin1String(OnboardingStore::welcomeKey)), QVariant(false));

        store.setHasSeenWelcome(true);
        store.setHasSeenWelcome(true);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toBool(), true);
        QVERIFY(OnboardingStore().hasSeenWelcome());
    }

    void versionText_data() {
        QTest::addColumn<QString>("shortVersion");
        QTest::addColumn<QString>("build");
        QTest::addColumn<QString>("text");
        QTest::newRow("both") << "1.2"
                              << "45"
                              << "Nookery 1.2 (45)";
        QTest::newRow("no short version") << ""
                                          << "45"
                                          << "Nookery \u2014 (45)";
        QTest::newRow("no build") << "1.2"
                                  << " "
                                  << "Nookery 1.2 (\u2014)";
        QTest::newRow("neither") << ""
                                 << ""
                                 << "Nookery \u2014 (\u2014)";
    }

    void versionText() {
        QFETCH(QString, shortVersion);
        QFETCH(QString, build);
        QFETCH(QString, text);
        QCOMPARE(::versionText(shortVersion, build), text);
    }

    void currentVersionTextIsThisBuild() {
        QVERIFY(currentVersionText().startsWith(QStringLiteral("Nookery ")));
        QVERIFY(!currentVersionText().contains(QChar(0x2014)));
    }
};

QTEST_GUILESS_MAIN(TestOnboardingStore)
#include "tst_onboardingstore.moc"
