#include "DragTestPanel.h"

#include "dragdrop/DragGeometry.h"
#include "dragdrop/DragState.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

// A panel with one draggable row at the top of the list, pressed and moved past the threshold.
struct DragFixture {
    explicit DragFixture(int contentHeight = 1000)
        : panel(contentHeight)
        , mouse(&panel) {
        row = panel.addRow({0, 40, DragTestPanel::panelWidth, 36}, "a");
        row->setFields({.stableID = "a",
                        .title = "Title a",
                        .onTap = [this] { log.note("tap"); },
                        .clearSelection = [this] { log.note("clear selection"); }});
    }

    void startDrag() {
        const QPointF start = panel.inWindow(row, {150, 18});
        mouse.press(start);
        mouse.move(start + QPointF(0, 6));
        QVERIFY(DragState::shared().isDragging());
    }
    // Moves to `point` (in `widget`), lets queued highlight changes land.
    void moveTo(const QWidget *widget, const QPointF &point) {
        mouse.move(panel.inWindow(widget, point));
        QCoreApplication::processEvents();
    }
    void drop(const QWidget *widget, const QPointF &point) {
        mouse.release(panel.inWindow(widget, point));
        QCoreApplication::processEvents();
    }
    QScrollBar *scrollBar() const { return panel.list()->verticalScrollBar(); }
    DropZoneView *watchedZone(const QRect &rect, const QString &name) {
        DropZoneView *zone = panel.addZone(rect);
        log.watch(zone, name);
        return zone;
    }
    InsertionLineView *watchedLine(int y, const QString &name) {
        InsertionLineView *line = panel.addLine(y);
        log.watch(line, name);
        return line;
    }

    DragTestPanel panel;
    MouseDriver mouse;
    TabRowDragSourceView *row = nullptr;
    OwnerLog log;
};

} // namespace

class DragStateTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void insertionLinesHaveSlackDropZonesDoNot_data();
    void insertionLinesHaveSlackDropZonesDoNot();
    void nearestLineWinsTiesGoToTheFirstRegistered_data();
    void nearestLineWinsTiesGoToTheFirstRegistered();
    void overlappingDropZonesGoToTheFirstRegistered();
    void lineInsideSectionLightsBothAndTakesTheDrop();
    void dropRunsAfterTheReleaseWasHandled();
    void transitionsClearTheOldZoneFirstAndNeverRepeat();
    void releaseOutsideEveryZoneDropsNothing();
    void zonesThatGoAwayDuringADragAreInert();
    void zonesScrolledOutOfSightAreNotHit();
    void closingThePanelMidDragEndsItWithoutADrop();
    void autoScrollSpeed_data();
    void autoScrollSpeed();
    void autoScrollStaysWithinTheContent_data();
    void autoScrollStaysWithinTheContent();
    void previewLabel_data();
    void previewLabel();
};

void DragStateTest::cleanup() {
    DragState &state = DragState::shared();
    QVERIFY(!state.isDragging());
    QVERIFY(!state.isAutoScrolling());
    QVERIFY(!state.previewLabel());
    // Every zone of the test's panel died with it and is gone from the registries by now.
    state.zones().purge();
    state.insertionZones().purge();
    QVERIFY(state.zones().entries().isEmpty());
    QVERIFY(state.insertionZones().entries().isEmpty());
}

void DragStateTest::insertionLinesHaveSlackDropZonesDoNot_data() {
    // The line lies at content y 150, the drop zone at y 250 to 350.
    QTest::addColumn<int>("y");
    QTest::addColumn<QStringList>("lit");
    QTest::newRow("10 above the line") << 140 << QStringList{"line:highlight on"};
    QTest::newRow("18 above the line") << 132 << QStringList{"line:highlight on"};
    QTest::newRow("19 above the line") << 131 << QStringList{};
    QTest::newRow("17 below the line") << 179 << QStringList{"line:highlight on"};
    QTest::newRow("10 above the zone") << 240 << QStringList{};
    QTest::newRow("on the zone's top edge") << 250 << QStringList{"zone:highlight on"};
}

void DragStateTest::insertionLinesHaveSlackDropZonesDoNot() {
    QFETCH(int, y);
    QFETCH(QStringList, lit);
    DragFixture fixture;
    fixture.watchedLine(150, "line");
    fixture.watchedZone({0, 250, 300, 100}, "zone");

    fixture.startDrag();
    fixture.moveTo(fixture.panel.content(), {150, qreal(y)});
    QCOMPARE(fixture.log.entries, lit);
    fixture.drop(fixture.panel.content(), {150, 500});
}

void DragStateTest::nearestLineWinsTiesGoToTheFirstRegistered_data() {
    // Adjacent lines at content y 150 and 162: their middles are 156 and 168.
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("registerUpperAgain");
    QTest::addColumn<QString>("winner");
    QTest::newRow("nearer the upper") << 161 << false << "upper";
    QTest::newRow("nearer the lower") << 163 << false << "lower";
    QTest::newRow("tie, upper registered first") << 162 << false << "upper";
    QTest::newRow("tie, upper registered again") << 162 << true << "lower";
    QTest::newRow("in the lower's slack only") << 190 << false << "lower";
}

void DragStateTest::nearestLineWinsTiesGoToTheFirstRegistered() {
    QFETCH(int, y);
    QFETCH(bool, registerUpperAgain);
    QFETCH(QString, winner);
    DragFixture fixture;
    InsertionLineView *upper = fixture.watchedLine(150, "upper");
    fixture.watchedLine(162, "lower");
    if (registerUpperAgain)
        fixture.log.watch(upper, "upper");

    fixture.startDrag();
    fixture.moveTo(fixture.panel.content(), {150, qreal(y)});
    fixture.drop(fixture.panel.content(), {150, qreal(y)});
    QCOMPARE(fixture.log.entries, QStringList({winner + ":highlight on", "clear selection",
                                               winner + ":highlight off", winner + ":drop a"}));
}

void DragStateTest::overlappingDropZonesGoToTheFirstRegistered() {
    DragFixture fixture;
    DropZoneView *first = fixture.watchedZone({0, 200, 300, 100}, "first");
    fixture.watchedZone({0, 250, 300, 100}, "second");

    fixture.startDrag();
    fixture.moveTo(fixture.panel.content(), {150, 270});
    fixture.log.watch(first, "first"); // an update registers again: now the second comes first
    fixture.moveTo(fixture.panel.content(), {150, 280});
    fixture.drop(fixture.panel.content(), {150, 280});
    QCOMPARE(fixture.log.entries,
             QStringList({"first:highlight on", "first:highlight off", "second:highlight on",
                          "clear selection", "second:highlight off", "second:drop a"}));
}

void DragStateTest::lineInsideSectionLightsBothAndTakesTheDrop() {
    DragFixture fixture;
    fixture.watchedZone({0, 120, 300, 200}, "section");
    InsertionLineView *line = fixture.watchedLine(200, "line");

    fixture.startDrag();
    fixture.moveTo(line, {150, 6});
    QCOMPARE(fixture.log.entries, QStringList({"line:highlight on", "section:highlight on"}));
    fixture.drop(line, {150, 6});
    QCOMPARE(fixture.log.entries,
             QStringList({"line:highlight on", "section:highlight on", "clear selection",
                          "line:highlight off", "line:drop a", "section:highlight off"}));
}

void DragStateTest::dropRunsAfterTheReleaseWasHandled() {
    DragFixture fixture;
    DropZoneView *zone = fixture.watchedZone({0, 200, 300, 100}, "zone");
    fixture.startDrag();
    fixture.moveTo(zone, {150, 50});
    QVERIFY(zone->isTargeted());

    fixture.mouse.release(fixture.panel.inWindow(zone, {150, 50}));
    // The release has been handled completely; the owner has heard nothing of it yet.
    QCOMPARE(fixture.log.entries, QStringList({"zone:highlight on", "clear selection"}));
    QVERIFY(zone->isTargeted());
    QVERIFY(!DragState::shared().isDragging());
    QCoreApplication::processEvents();
    QCOMPARE(fixture.log.entries, QStringList({"zone:highlight on", "clear selection",
                                               "zone:highlight off", "zone:drop a"}));
    QVERIFY(!zone->isTargeted());
}

void DragStateTest::transitionsClearTheOldZoneFirstAndNeverRepeat() {
    DragFixture fixture;
    DropZoneView *first = fixture.watchedZone({0, 150, 300, 60}, "first");
    DropZoneView *second = fixture.watchedZone({0, 210, 300, 60}, "second");

    fixture.startDrag();
    for (int y = 5; y < 60; y += 10)
        fixture.moveTo(first, {150, qreal(y)});
    fixture.moveTo(second, {150, 5});
    fixture.moveTo(second, {150, 30});
    fixture.moveTo(fixture.panel.content(), {150, 500});
    fixture.drop(fixture.panel.content(), {150, 500});
    QCOMPARE(fixture.log.entries,
             QStringList({"first:highlight on", "first:highlight off", "second:highlight on",
                          "second:highlight off", "clear selection"}));
}

void DragStateTest::releaseOutsideEveryZoneDropsNothing() {
    DragFixture fixture;
    QSignalSpy finished(&DragState::shared(), &DragState::dragFinished);
    DropZoneView *zone = fixture.watchedZone({0, 200, 300, 100}, "zone");
    fixture.startDrag();
    fixture.moveTo(zone, {150, 50});
    fixture.moveTo(zone, {150, 150});
    fixture.drop(zone, {150, 150});
    QCOMPARE(fixture.log.entries,
             QStringList({"zone:highlight on", "zone:highlight off", "clear selection"}));
    QCOMPARE(finished.count(), 1);
}

void DragStateTest::zonesThatGoAwayDuringADragAreInert() {
    DragFixture fixture;
    DropZoneView *doomed = fixture.watchedZone({0, 150, 300, 60}, "doomed");
    DropZoneView *hidden = fixture.watchedZone({0, 250, 300, 60}, "hidden");

    fixture.startDrag();
    fixture.moveTo(doomed, {150, 30});
    delete doomed;
    fixture.moveTo(fixture.panel.content(), {150, 180});
    fixture.moveTo(hidden, {150, 30});
    hidden->hide();
    fixture.moveTo(hidden, {150, 40});
    fixture.drop(hidden, {150, 40});

    // The dead zone heard nothing more; the hidden one was cleared and got no drop.
    QCOMPARE(fixture.log.entries, QStringList({"doomed:highlight on", "hidden:highlight on",
                                               "hidden:highlight off", "clear selection"}));
    QVERIFY(DragState::shared().zones().entries().isEmpty());
}

void DragStateTest::zonesScrolledOutOfSightAreNotHit() {
    DragFixture fixture;
    DropZoneView *top = fixture.watchedZone({0, 0, 300, 100}, "top");
    fixture.scrollBar()->setValue(50);
    TabRowDragSourceView *row = fixture.panel.addRow({0, 200, 300, 36}, "b");

    const QPointF start = fixture.panel.inWindow(row, {150, 18});
    fixture.mouse.press(start);
    fixture.mouse.move(start + QPointF(0, 6));
    // The zone lies under the panel's header now, above the visible list.
    fixture.mouse.move({150, 10});
    QCOMPARE(fixture.panel.childAt(150, 10), nullptr);
    QVERIFY(DragGeometry::contains(QRectF(top->rect()),
                                   top->mapFrom(&fixture.panel, QPointF(150, 10))));
    fixture.mouse.release({150, 10});
    QCoreApplication::processEvents();
    QCOMPARE(fixture.log.entries, QStringList());
}

void DragStateTest::closingThePanelMidDragEndsItWithoutADrop() {
    DragFixture fixture;
    DropZoneView *zone = fixture.watchedZone({0, 200, 300, 100}, "zone");
    fixture.startDrag();
    fixture.moveTo(zone, {150, 90}); // in the bottom band
    QVERIFY(DragState::shared().isAutoScrolling());
    QSignalSpy finished(&DragState::shared(), &DragState::dragFinished);

    fixture.panel.hide();
    QCoreApplication::processEvents();
    QVERIFY(!DragState::shared().isDragging());
    QVERIFY(!DragState::shared().isAutoScrolling());
    QVERIFY(!DragState::shared().previewLabel());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(fixture.log.entries, QStringList({"zone:highlight on", "zone:highlight off"}));

    // Open again: the late release is no click, and the next drag runs as usual.
    fixture.panel.show();
    fixture.drop(fixture.row, {150, 18});
    QCOMPARE(fixture.log.entries, QStringList({"zone:highlight on", "zone:highlight off"}));
    fixture.log.entries.clear();
    fixture.startDrag();
    fixture.moveTo(zone, {150, 50});
    fixture.drop(zone, {150, 50});
    QCOMPARE(fixture.log.entries, QStringList({"zone:highlight on", "clear selection",
                                               "zone:highlight off", "zone:drop a"}));
}

void DragStateTest::autoScrollSpeed_data() {
    // y in the list's viewport, which is 300 px tall.
    QTest::addColumn<qreal>("y");
    QTest::addColumn<qreal>("speed");
    QTest::newRow("top edge") << 0.0 << -4.0;
    QTest::newRow("20 below the top") << 20.0 << -2.0;
    QTest::newRow("40 below the top") << 40.0 << 0.0;
    QTest::newRow("middle") << 150.0 << 0.0;
    QTest::newRow("40 above the bottom") << 260.0 << 0.0;
    QTest::newRow("20 above the bottom") << 280.0 << 2.0;
    QTest::newRow("1 above the bottom") << 299.0 << 3.9;
    QTest::newRow("above the list") << -5.0 << 0.0;
    QTest::newRow("below the list") << 305.0 << 0.0;
}

void DragStateTest::autoScrollSpeed() {
    QFETCH(qreal, y);
    QFETCH(qreal, speed);
    DragFixture fixture;
    fixture.scrollBar()->setValue(100);
    QWidget *viewport = fixture.panel.list()->viewport();
    TabRowDragSourceView *row = fixture.panel.addRow({0, 250, 300, 36}, "b");
    const QPointF start = fixture.panel.inWindow(row, {150, 18});
    DragState &state = DragState::shared();

    fixture.mouse.press(start);
    fixture.mouse.move(start + QPointF(0, 6));
    fixture.mouse.move(fixture.panel.inWindow(viewport, {150, y}));
    QCOMPARE(state.scrollSpeed(), speed);
    QCOMPARE(state.isAutoScrolling(), speed != 0);
    // Back in the middle the timer stops.
    fixture.mouse.move(fixture.panel.inWindow(viewport, {150, 150}));
    QVERIFY(!state.isAutoScrolling());
    QCOMPARE(state.scrollSpeed(), 0.0);
    fixture.mouse.release(fixture.panel.inWindow(viewport, {150, 150}));
}

void DragStateTest::autoScrollStaysWithinTheContent_data() {
    QTest::addColumn<int>("contentHeight");
    QTest::addColumn<int>("startOffset");
    QTest::addColumn<qreal>("y");
    QTest::addColumn<int>("endOffset");
    QTest::newRow("up to the start") << 1000 << 10 << 0.0 << 0;
    QTest::newRow("down to the last page") << 1000 << 690 << 299.0 << 700;
    QTest::newRow("content shorter than the list") << 200 << 0 << 299.0 << 0;
}

void DragStateTest::autoScrollStaysWithinTheContent() {
    QFETCH(int, contentHeight);
    QFETCH(int, startOffset);
    QFETCH(qreal, y);
    QFETCH(int, endOffset);
    DragFixture fixture(contentHeight);
    fixture.scrollBar()->setValue(startOffset);
    QWidget *viewport = fixture.panel.list()->viewport();
    TabRowDragSourceView *row = fixture.panel.addRow({0, startOffset + 100, 300, 36}, "b");
    const QPointF start = fixture.panel.inWindow(row, {150, 18});

    fixture.mouse.press(start);
    fixture.mouse.move(fixture.panel.inWindow(viewport, {150, y}));
    QVERIFY(DragState::shared().isAutoScrolling());
    QTRY_COMPARE(fixture.scrollBar()->value(), endOffset);
    QTest::qWait(100);
    QCOMPARE(fixture.scrollBar()->value(), endOffset);
    fixture.mouse.release(fixture.panel.inWindow(viewport, {150, y}));
    QVERIFY(!DragState::shared().isAutoScrolling());
}

void DragStateTest::previewLabel_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("elided");
    QTest::newRow("short title") << "Wireframes" << false;
    QTest::newRow("long title") << QString("Design system components, tokens and every icon we own")
                                << true;
}

void DragStateTest::previewLabel() {
    QFETCH(QString, title);
    QFETCH(bool, elided);
    DragFixture fixture;
    fixture.row->setFields({.stableID = "a", .title = title});
    const QPointF start = fixture.panel.inWindow(fixture.row, {150, 18});
    const QPointF pointer(120, 200);

    fixture.mouse.press(start);
    fixture.mouse.move(pointer);
    const DragPreviewLabel *label = DragState::shared().previewLabel();
    QVERIFY(label);
    const qreal textWidth = QFontMetricsF(label->font()).horizontalAdvance(title);
    const int width = std::min(int(std::ceil(textWidth)) + 20, 200);
    QCOMPARE(label->parentWidget(), &fixture.panel);
    QCOMPARE(label->geometry(), QRect(qRound(pointer.x() - width / 2.0), 200 - 8 - 26, width, 26));
    QCOMPARE(label->displayedText().endsWith(QChar(0x2026)), elided);
    QCOMPARE(label->displayedText() == title, !elided);
    // Drawn above everything in the window, and never in the mouse's way.
    QCOMPARE(fixture.panel.children().last(), label);
    QCOMPARE(fixture.panel.childAt(pointer.toPoint() - QPoint(0, 20)), fixture.panel.content());
    fixture.mouse.release(pointer);
    QVERIFY(!DragState::shared().previewLabel());
}

QTEST_MAIN(DragStateTest)
#include "tst_dragstate.moc"
