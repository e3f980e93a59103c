#include "dragdrop/DragGeometry.h"

#include <QTest>

using namespace DragGeometry;

class DragGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void edgeScrollStep_data();
    void edgeScrollStep();
    void insertionDistance_data();
    void insertionDistance();
    void rectanglesExcludeTheirFarEdges();
    void clampScrollOffset_data();
    void clampScrollOffset();
    void previewLabelRect_data();
    void previewLabelRect();
    void exceedsThreshold_data();
    void exceedsThreshold();
};

// A 300 px list: the top band is y in [0, 40), the bottom band (260, 300].
void DragGeometryTest::edgeScrollStep_data() {
    QTest::addColumn<qreal>("y");
    QTest::addColumn<bool>("scrolls");
    QTest::addColumn<qreal>("step");
    QTest::newRow("on the top edge") << 0.0 << true << -4.0;
    QTest::newRow("20 below the top") << 20.0 << true << -2.0;
    QTest::newRow("just inside the top band") << 39.0 << true << -0.1;
    QTest::newRow("40 below the top") << 40.0 << false << 0.0;
    QTest::newRow("middle") << 150.0 << false << 0.0;
    QTest::newRow("40 above the bottom") << 260.0 << false << 0.0;
    QTest::newRow("20 above the bottom") << 280.0 << true << 2.0;
    QTest::newRow("on the bottom edge") << 300.0 << true << 4.0;
    QTest::newRow("above the list") << -1.0 << false << 0.0;
    QTest::newRow("below the list") << 301.0 << false << 0.0;
}

void DragGeometryTest::edgeScrollStep() {
    QFETCH(qreal, y);
    QFETCH(bool, scrolls);
    QFETCH(qreal, step);
    const std::optional<qreal> result = DragGeometry::edgeScrollStep(y, 300);
    QCOMPARE(result.has_value(), scrolls);
    if (scrolls)
        QCOMPARE(*result, step);
}

void DragGeometryTest::insertionDistance_data() {
    // A line 12 px tall at y 100: hit from 82 up to (not including) 130, distance to y 106.
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<bool>("hit");
    QTest::addColumn<qreal>("distance");
    QTest::newRow("on the middle") << QPointF(50, 106) << true << 0.0;
    QTest::newRow("10 above the line") << QPointF(50, 90) << true << 16.0;
    QTest::newRow("18 above the line") << QPointF(50, 82) << true << 24.0;
    QTest::newRow("19 above the line") << QPointF(50, 81) << false << 0.0;
    QTest::newRow("17 below the line") << QPointF(50, 129) << true << 23.0;
    QTest::newRow("18 below the line") << QPointF(50, 130) << false << 0.0;
    QTest::newRow("left of the line") << QPointF(-1, 106) << false << 0.0;
    QTest::newRow("right of the line") << QPointF(200, 106) << false << 0.0;
}

void DragGeometryTest::insertionDistance() {
    QFETCH(QPointF, point);
    QFETCH(bool, hit);
    QFETCH(qreal, distance);
    const std::optional<qreal> result = DragGeometry::insertionDistance({0, 100, 200, 12}, point);
    QCOMPARE(result.has_value(), hit);
    if (hit)
        QCOMPARE(*result, distance);
}

void DragGeometryTest::rectanglesExcludeTheirFarEdges() {
    const QRectF rect(10, 10, 20, 20);
    QVERIFY(contains(rect, {10, 10}));
    QVERIFY(contains(rect, {29.5, 29.5}));
    QVERIFY(!contains(rect, {30, 20}));
    QVERIFY(!contains(rect, {20, 30}));
    QVERIFY(!contains(rect, {20, 0}));
}

void DragGeometryTest::clampScrollOffset_data() {
    QTest::addColumn<qreal>("offset");
    QTest::addColumn<qreal>("contentHeight");
    QTest::addColumn<qreal>("expected");
    QTest::newRow("inside") << 50.0 << 1000.0 << 50.0;
    QTest::newRow("before the start") << -4.0 << 1000.0 << 0.0;
    QTest::newRow("past the last page") << 705.0 << 1000.0 << 700.0;
    QTest::newRow("content shorter than the view") << 3.0 << 200.0 << 0.0;
}

void DragGeometryTest::clampScrollOffset() {
    QFETCH(qreal, offset);
    QFETCH(qreal, contentHeight);
    QFETCH(qreal, expected);
    QCOMPARE(DragGeometry::clampScrollOffset(offset, contentHeight, 300), expected);
}

void DragGeometryTest::previewLabelRect_data() {
    QTest::addColumn<qreal>("textWidth");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("short text") << 50.0 << QRectF(65, 166, 70, 26);
    QTest::newRow("long text is capped") << 300.0 << QRectF(0, 166, 200, 26);
}

void DragGeometryTest::previewLabelRect() {
    QFETCH(qreal, textWidth);
    QFETCH(QRectF, expected);
    QCOMPARE(DragGeometry::previewLabelRect({100, 200}, textWidth), expected);
}

void DragGeometryTest::exceedsThreshold_data() {
    QTest::addColumn<QPointF>("to");
    QTest::addColumn<qreal>("threshold");
    QTest::addColumn<bool>("exceeds");
    QTest::newRow("tab: exactly 4") << QPointF(4, 0) << 4.0 << false;
    QTest::newRow("tab: 4.5") << QPointF(4.5, 0) << 4.0 << true;
    QTest::newRow("tab: diagonal 3,3") << QPointF(3, 3) << 4.0 << true;
    QTest::newRow("folder: exactly 5 diagonally") << QPointF(3, 4) << 5.0 << false;
    QTest::newRow("folder: 5.5 upwards") << QPointF(0, -5.5) << 5.0 << true;
}

void DragGeometryTest::exceedsThreshold() {
    QFETCH(QPointF, to);
    QFETCH(qreal, threshold);
    QFETCH(bool, exceeds);
    QCOMPARE(DragGeometry::exceedsThreshold({0, 0}, to, threshold), exceeds);
}

QTEST_APPLESS_MAIN(DragGeometryTest)
#include "tst_draggeometry.moc"
