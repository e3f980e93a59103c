#include "dragdrop/DragGeometry.h"

#include <QTest>

using namespace DragGeometry;

class DragGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void insertionDistance_data();
    void insertionDistance();
    void rectanglesExcludeTheirFarEdges();
    void clampScrollOffset_data();
    void clampScrollOffset();
    void previewLabelRect_data();
    void previewLabelRect();
};

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

QTEST_APPLESS_MAIN(DragGeometryTest)
#include "tst_draggeometry.moc"
