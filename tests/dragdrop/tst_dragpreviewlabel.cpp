#include "dragdrop/DragPreviewLabel.h"

#include <QFontMetricsF>
#include <QTest>

#include <cmath>

class DragPreviewLabelTest : public QObject {
    Q_OBJECT
private slots:
    void placedAboveThePointer_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("elided");
        QTest::newRow("short title") << "Wireframes" << false;
        QTest::newRow("long title")
            << QString("Design system components, tokens and every icon we own") << true;
        QTest::newRow("markup stays text") << "<b>Bold</b> & more" << false;
    }
    // 26 px tall, 8 px above the pointer and centred on it, at most 200 px wide; never in the
    // mouse's way.
    void placedAboveThePointer() {
        QFETCH(QString, title);
        QFETCH(bool, elided);
        QWidget window;
        window.resize(420, 400);
        auto *content = new QWidget(&window);
        content->resize(window.size());
        auto *label = new DragPreviewLabel(&window);
        label->setText(title);
        const QPointF pointer(120, 200);
        label->placeAbove(pointer);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const qreal textWidth = QFontMetricsF(label->font()).horizontalAdvance(title);
        const int width = std::min(int(std::ceil(textWidth)) + 20, 200);
        QCOMPARE(label->geometry(),
                 QRect(qRound(pointer.x() - width / 2.0), 200 - 8 - 26, width, 26));
        QCOMPARE(label->displayedText().endsWith(QChar(0x2026)), elided);
        QCOMPARE(label->displayedText() == title, !elided);
        QCOMPARE(window.childAt(pointer.toPoint() - QPoint(0, 20)), content);
    }
};

QTEST_MAIN(DragPreviewLabelTest)
#include "tst_dragpreviewlabel.moc"
