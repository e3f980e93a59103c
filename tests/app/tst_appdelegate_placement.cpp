#include "app/PopoverPlacement.h"

#include <QTest>

using namespace PopoverPlacement;

class TestPopoverPlacement : public QObject {
    Q_OBJECT
private slots:
    void besideAnchor_data() {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");

        const QRect screen(0, 24, 1280, 776); // a 24 px top panel
        QTest::newRow("centred under an icon mid-screen")
            << QRect(600, 0, 24, 24) << QSize(420, 500) << screen << QPoint(402, 24 + gap);
        QTest::newRow("icon in the top-right corner stays on screen")
            << QRect(1256, 0, 24, 24) << QSize(420, 500) << screen << QPoint(860, 24 + gap);
        QTest::newRow("icon in the top-left corner stays on screen")
            << QRect(0, 0, 24, 24) << QSize(420, 500) << screen << QPoint(0, 24 + gap);
        QTest::newRow("bottom panel: above the icon")
            << QRect(1200, 776, 24, 24) << QSize(420, 500) << QRect(0, 0, 1280, 776)
            << QPoint(860, 776 - gap - 500);
        QTest::newRow("second monitor to the right")
            << QRect(3000, 0, 22, 22) << QSize(420, 300) << QRect(1920, 22, 1920, 1058)
            << QPoint(3000 + 11 - 210, 22 + gap);
        QTest::newRow("pointer in the middle opens below it")
            << QRect(640, 400, 1, 1) << QSize(420, 300) << screen << QPoint(430, 401 + gap);
        QTest::newRow("fits neither below nor above: kept inside, top first")
            << QRect(640, 400, 1, 1) << QSize(420, 600) << screen << QPoint(430, 200);
        QTest::newRow("taller than the screen: top edge visible")
            << QRect(640, 0, 24, 24) << QSize(420, 900) << screen << QPoint(442, 24);
    }
    void besideAnchor() {
        QFETCH(QRect, anchor);
        QFETCH(QSize, size);
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(PopoverPlacement::besideAnchor(anchor, size, available), expected);
    }

    void topRight_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("primary screen") << QSize(420, 500) << QRect(0, 24, 1280, 776)
                                        << QPoint(1280 - margin - 420, 24 + margin);
        QTest::newRow("offset screen")
            << QSize(420, 500) << QRect(-1024, 0, 1024, 768) << QPoint(-margin - 420, margin);
        QTest::newRow("narrow screen") << QSize(420, 500) << QRect(0, 0, 400, 300) << QPoint(0, 0);
    }
    void topRight() {
        QFETCH(QSize, size);
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(PopoverPlacement::topRight(size, available), expected);
    }
};

QTEST_APPLESS_MAIN(TestPopoverPlacement)
#include "tst_appdelegate_placement.moc"
