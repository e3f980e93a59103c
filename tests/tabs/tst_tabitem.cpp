#include "tabs/TabItem.h"

#include <QTest>

class TabItemTest : public QObject {
    Q_OBJECT
private slots:
    void stableIdentifier_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("key segment") << "https://www.figma.com/d/AbC123/Untitled" << "AbC123";
        QTest::newRow("single component") << "https://www.figma.com/d" << "figma-0-1";
        QTest::newRow("empty url") << "" << "figma-0-1";
        QTest::newRow("unparsable") << "http://[::1" << "figma-0-1";
        QTest::newRow("doubled slashes") << "https://www.figma.com//d//Key/x" << "Key";
        QTest::newRow("percent-encoded") << "https://www.figma.com/d/A%20B/x" << "A B";
    }
    void stableIdentifier()
    {
        QFETCH(QString, url);
        QFETCH(QString, expected);
        QCOMPARE(TabItem("figma-0-1", "t", url, false).stableID(), expected);
    }

    void displayTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::newRow("en dash suffix") << QString::fromUtf8("Word \u2013 Figma") << "Word";
        QTest::newRow("hyphen twice") << "Word - Figma - Figma" << "Word";
        QTest::newRow("surrounding spaces") << "  Word\t" << "Word";
        QTest::newRow("middle") << "A - Figma B" << "A B";
        QTest::newRow("line breaks kept") << "\nWord\n" << "\nWord\n";
    }
    void displayTitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, expected);
        QCOMPARE(TabItem("figma-0-0", title, "", false).displayTitle(), expected);
    }

    void equalityCoversEveryField()
    {
        const TabItem a("figma-0-0", "t", "https://www.figma.com/d/K/n", false);
        TabItem b = a;
        QCOMPARE(a, b);
        QCOMPARE(qHash(a), qHash(b));
        b.isActive = true;
        QVERIFY(a != b);
        QCOMPARE(a.stableID(), b.stableID());
        b = a;
        b.thumbnailURL = QUrl("https://example.com/t.png");
        QVERIFY(a != b);
    }
};

QTEST_GUILESS_MAIN(TabItemTest)
#include "tst_tabitem.moc"
