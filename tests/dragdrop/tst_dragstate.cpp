#include "DragTestPanel.h"

#include "dragdrop/DragState.h"

#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

// A panel with one draggable row at the top of the list; every callback lands in `log`.
struct DragFixture {
    explicit DragFixture(int contentHeight = 1000)
        : panel(contentHeight)
        , mouse(&panel)
        , row(panel.addRow({0, 40, DragTestPanel::panelWidth, 36}, "a")) {
        row->setFields({.stableID = "a",
                        .title = "Title a",
                        .onTap = [this] { log.note("tap"); },
                        .clearSelection = [this] { log.note("clear selection"); }});
    }

    // Presses on `source` and moves past the threshold.
    void startDrag(const QWidget *source = nullptr) {
        const QPointF start = panel.inWindow(source ? source : row, {150, 18});
        mouse.press(start);
        mouse.move(start + QPointF(0, 6));
        QVERIFY(DragState::shared().isDragging());
    }
    // Moves to `point` in `widget` and lets queued highlight changes land.
    void moveTo(const QWidget *widget, qreal y) {
        mouse.move(panel.inWindow(widget, {150, y}));
        QCoreApplication::processEvents();
    }
    void drop(const QWidget *widget, qreal y) {
        mouse.release(panel.inWindow(widget, {150, y}));
        QCoreApplication::processEvents();
    }
    QScrollBar *scrollBar() const { return panel.list()->verticalScrollBar(); }
    QWidget *viewport() const { return panel.list()->viewport(); }
    DropZoneView *zone(const QRect &rect, const QString &name) {
        DropZoneView *zone = panel.addZone(rect);
        log.watch(zone, name);
        return zone;
    }
    InsertionLineView *line(int y, const QString &name) {
        auto *line = panel.addLine<InsertionLineView>(y);
        log.watch(line, name);
        return line;
    }

    DragTestPanel panel;
    MouseDriver mouse;
    TabRowDragSourceView *row;
    OwnerLog log;
};

QList<QWidget *> registeredZones() {
    QList<QWidget *> views;
    for (const auto &entry : DragState::shared().zones().entries())
        views.append(entry.view);
    return views;
}

} // namespace

class DragStateTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void hoverAndDrop_data();
    void hoverAndDrop();
    void overlappingZonesGoToTheFirstRegistered();
    void registrationFollowsVisibility();
    void dropRunsAfterTheReleaseWasHandled_data();
    void dropRunsAfterTheReleaseWasHandled();
    void zonesThatGoAwayDuringADragAreInert();
    void ownerMayDeleteItsZoneWhenTheHighlightGoes();
    void zonesScrolledOutOfSightAreNotHit();
    void mouseEventsPassThroughZones();
    void closingThePanelMidDragEndsItWithoutADrop();
    void autoScroll_data();
    void autoScroll();
    void previewLabel_data();
    void previewLabel();
    void litLineFadesAndIsDrawn();
};

void DragStateTest::cleanup() {
    DragState &state = DragState::shared();
    QVERIFY(!state.isDragging());
    QVERIFY(!state.isAutoScrolling());
    QVERIFY(!state.previewLabel());
    // Every zone died with the test's panel and is purged from the registries.
    state.zones().purge();
    state.insertionZones().purge();
    QVERIFY(state.zones().entries().isEmpty());
    QVERIFY(state.insertionZones().entries().isEmpty());
}

void DragStateTest::hoverAndDrop_data() {
    QTest::addColumn<QStringList>("zones"); // "line name y", "zone name y height", "again name"
    QTest::addColumn<QList<int>>("path");   // content y of each move; released at the last
    QTest::addColumn<QStringList>("heard");
    const QStringList lineAndZone{"line line 150", "zone zone 250 100"};
    const QStringList adjacent{"line upper 150", "line lower 162"}; // middles at 156 and 168
    const QStringList none{"clear selection"};
    const auto missed = [](const QString &name) {
        return QStringList{name + ":highlight on", name + ":highlight off", "clear selection"};
    };
    const auto dropped = [](const QString &name) {
        return QStringList{name + ":highlight on", "clear selection", name + ":highlight off",
                           name + ":drop a"};
    };
    QTest::newRow("18 above a line") << lineAndZone << QList<int>{132, 500} << missed("line");
    QTest::newRow("19 above a line") << lineAndZone << QList<int>{131, 500} << none;
    QTest::newRow("17 below a line") << lineAndZone << QList<int>{179, 500} << missed("line");
    QTest::newRow("18 below a line") << lineAndZone << QList<int>{180, 500} << none;
    QTest::newRow("10 above a zone") << lineAndZone << QList<int>{240, 500} << none;
    QTest::newRow("on a zone's top edge") << lineAndZone << QList<int>{250, 500} << missed("zone");
    QTest::newRow("nearer the upper line") << adjacent << QList<int>{161} << dropped("upper");
    QTest::newRow("nearer the lower line") << adjacent << QList<int>{163} << dropped("lower");
    QTest::newRow("tie, upper registered first") << adjacent << QList<int>{162} << dropped("upper");
    QTest::newRow("tie, upper registered again")
        << adjacent + QStringList{"again upper"} << QList<int>{162} << dropped("lower");
    QTest::newRow("in the lower's slack only") << adjacent << QList<int>{190} << dropped("lower");
    QTest::newRow("line inside a section: both lit, the line takes the drop")
        << QStringList{"zone section 120 200", "line line 200"} << QList<int>{206}
        << QStringList{"line:highlight on",  "section:highlight on", "clear selection",
                       "line:highlight off", "line:drop a",          "section:highlight off"};
    QTest::newRow("transitions in order, never repeated; nothing dropped outside")
        << QStringList{"zone first 150 60", "zone second 210 60"}
        << QList<int>{155, 165, 175, 185, 195, 205, 215, 240, 500}
        << QStringList{"first:highlight on", "first:highlight off", "second:highlight on",
                       "second:highlight off", "clear selection"};
}

void DragStateTest::hoverAndDrop() {
    QFETCH(QStringList, zones);
    QFETCH(QList<int>, path);
    QFETCH(QStringList, heard);
    DragFixture fixture;
    QSignalSpy finished(&DragState::shared(), &DragState::dragFinished);
    QHash<QString, InsertionLineView *> lines;
    for (const QString &spec : zones) {
        const QStringList field = spec.split(' ');
        if (field[0] == "line")
            lines[field[1]] = fixture.line(field[2].toInt(), field[1]);
        else if (field[0] == "zone")
            fixture.zone({0, field[2].toInt(), 300, field[3].toInt()}, field[1]);
        else
            fixture.log.watch(lines[field[1]], field[1]); // registering again moves it to the end
    }
    fixture.startDrag();
    for (int y : path)
        fixture.moveTo(fixture.panel.content(), y);
    fixture.drop(fixture.panel.content(), path.last());
    QCOMPARE(fixture.log.entries, heard);
    QCOMPARE(finished.count(), 1);
}

void DragStateTest::overlappingZonesGoToTheFirstRegistered() {
    DragFixture fixture;
    DropZoneView *first = fixture.zone({0, 200, 300, 100}, "first");
    fixture.zone({0, 250, 300, 100}, "second");

    fixture.startDrag();
    fixture.moveTo(fixture.panel.content(), 270);
    fixture.log.watch(first, "first"); // registering again moves it to the end
    fixture.moveTo(fixture.panel.content(), 280);
    fixture.drop(fixture.panel.content(), 280);
    QCOMPARE(fixture.log.entries,
             QStringList({"first:highlight on", "first:highlight off", "second:highlight on",
                          "clear selection", "second:highlight off", "second:drop a"}));
}

void DragStateTest::registrationFollowsVisibility() {
    DragTestPanel panel;
    panel.hide();
    DropZoneView *first = panel.addZone({0, 0, 300, 50});
    DropZoneView *second = panel.addZone({0, 50, 300, 50});
    QCOMPARE(registeredZones(), QList<QWidget *>());
    panel.show();
    QCOMPARE(registeredZones(), QList<QWidget *>({first, second}));
    first->hide();
    first->show();
    QCOMPARE(registeredZones(), QList<QWidget *>({second, first}));
    // Shown as a window of its own it is in no panel: not a place to drop.
    first->setParent(nullptr);
    first->show();
    QCOMPARE(registeredZones(), QList<QWidget *>({second}));
    delete first;
}

void DragStateTest::dropRunsAfterTheReleaseWasHandled_data() {
    QTest::addColumn<bool>("zoneDiesFirst");
    QTest::newRow("zone lives") << false;
    QTest::newRow("zone deleted before the next turn") << true;
}

void DragStateTest::dropRunsAfterTheReleaseWasHandled() {
    QFETCH(bool, zoneDiesFirst);
    DragFixture fixture;
    DropZoneView *zone = fixture.zone({0, 200, 300, 100}, "zone");
    fixture.startDrag();
    fixture.moveTo(zone, 50);

    fixture.mouse.release(fixture.panel.inWindow(zone, {150, 50}));
    // The release has been handled completely; the owner has heard nothing of it yet.
    QCOMPARE(fixture.log.entries, QStringList({"zone:highlight on", "clear selection"}));
    QVERIFY(zone->isTargeted());
    QVERIFY(!DragState::shared().isDragging());
    if (zoneDiesFirst)
        delete zone;
    QCoreApplication::processEvents();
    if (zoneDiesFirst)
        QCOMPARE(fixture.log.entries.size(), 2);
    else
        QCOMPARE(fixture.log.entries.mid(2), QStringList({"zone:highlight off", "zone:drop a"}));
}

void DragStateTest::zonesThatGoAwayDuringADragAreInert() {
    DragFixture fixture;
    DropZoneView *doomed = fixture.zone({0, 150, 300, 60}, "doomed");
    DropZoneView *hidden = fixture.zone({0, 250, 300, 60}, "hidden");

    fixture.startDrag();
    fixture.moveTo(doomed, 30);
    delete doomed;
    fixture.moveTo(fixture.panel.content(), 180);
    fixture.moveTo(hidden, 30);
    hidden->hide();
    fixture.moveTo(hidden, 40);
    fixture.drop(hidden, 40);

    // The dead zone heard nothing more; the hidden one was cleared and got no drop.
    QCOMPARE(fixture.log.entries, QStringList({"doomed:highlight on", "hidden:highlight on",
                                               "hidden:highlight off", "clear selection"}));
    QVERIFY(DragState::shared().zones().entries().isEmpty());
}

void DragStateTest::ownerMayDeleteItsZoneWhenTheHighlightGoes() {
    DragFixture fixture;
    DropZoneView *zone = fixture.panel.addZone({0, 150, 300, 100});
    zone->setCallbacks([&](const QStringList &) { fixture.log.note("drop"); },
                       [&, zone](bool on) {
                           fixture.log.note(on ? "on" : "off");
                           if (!on)
                               delete zone;
                       });
    fixture.startDrag();
    fixture.moveTo(zone, 50);
    fixture.drop(zone, 50);
    QCOMPARE(fixture.log.entries, QStringList({"on", "clear selection", "off"}));
}

void DragStateTest::zonesScrolledOutOfSightAreNotHit() {
    DragFixture fixture;
    fixture.zone({0, 0, 300, 100}, "top");
    fixture.scrollBar()->setValue(50);
    // Window y 10 lies within the zone's rectangle, but under the panel's header.
    fixture.startDrag(fixture.panel.addRow({0, 200, 300, 36}, "b"));
    fixture.moveTo(&fixture.panel, 10);
    fixture.drop(&fixture.panel, 10);
    QCOMPARE(fixture.log.entries, QStringList());
}

void DragStateTest::mouseEventsPassThroughZones() {
    DragFixture fixture;
    fixture.panel.addZone({0, 0, 300, 300});
    fixture.panel.addLine<InsertionLineView>(52);
    fixture.panel.addLine<FolderInsertionZoneView>(52);
    fixture.mouse.drag(fixture.panel.inWindow(fixture.row, {150, 18}), {});
    QCOMPARE(fixture.log.entries, QStringList{"tap"});
}

void DragStateTest::closingThePanelMidDragEndsItWithoutADrop() {
    DragFixture fixture;
    DropZoneView *zone = fixture.zone({0, 200, 300, 100}, "zone");
    fixture.startDrag();
    fixture.moveTo(zone, 90); // in the bottom band
    QVERIFY(DragState::shared().isAutoScrolling());
    QSignalSpy finished(&DragState::shared(), &DragState::dragFinished);

    fixture.panel.hide();
    QCoreApplication::processEvents();
    QVERIFY(!DragState::shared().isDragging());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(fixture.log.entries, QStringList({"zone:highlight on", "zone:highlight off"}));

    // Open again: the late release is no click, and the next drag runs as usual.
    fixture.panel.show();
    fixture.drop(fixture.row, 18);
    fixture.startDrag();
    fixture.moveTo(zone, 50);
    fixture.drop(zone, 50);
    QCOMPARE(fixture.log.entries.mid(2), QStringList({"zone:highlight on", "clear selection",
                                                      "zone:highlight off", "zone:drop a"}));
}

void DragStateTest::autoScroll_data() {
    // y in the list's 300 px viewport; an end offset of -1: still scrolling, not waited for.
    QTest::addColumn<int>("contentHeight");
    QTest::addColumn<int>("startOffset");
    QTest::addColumn<qreal>("y");
    QTest::addColumn<qreal>("speed");
    QTest::addColumn<int>("endOffset");
    QTest::newRow("top edge") << 1000 << 100 << 0.0 << -4.0 << -1;
    QTest::newRow("20 below the top") << 1000 << 100 << 20.0 << -2.0 << -1;
    QTest::newRow("40 below the top") << 1000 << 100 << 40.0 << 0.0 << 100;
    QTest::newRow("20 above the bottom") << 1000 << 100 << 280.0 << 2.0 << -1;
    QTest::newRow("above the list") << 1000 << 100 << -5.0 << 0.0 << 100;
    QTest::newRow("below the list") << 1000 << 100 << 305.0 << 0.0 << 100;
    QTest::newRow("up to the start") << 1000 << 10 << 0.0 << -4.0 << 0;
    QTest::newRow("down to the last page") << 1000 << 690 << 299.0 << 3.9 << 700;
    QTest::newRow("content shorter than the list") << 200 << 0 << 299.0 << 3.9 << 0;
}

void DragStateTest::autoScroll() {
    QFETCH(int, contentHeight);
    QFETCH(int, startOffset);
    QFETCH(qreal, y);
    QFETCH(qreal, speed);
    QFETCH(int, endOffset);
    DragFixture fixture(contentHeight);
    fixture.scrollBar()->setValue(startOffset);
    DragState &state = DragState::shared();

    fixture.startDrag(fixture.panel.addRow({0, startOffset + 100, 300, 36}, "b"));
    fixture.mouse.move(fixture.panel.inWindow(fixture.viewport(), {150, y}));
    QCOMPARE(state.scrollSpeed(), speed);
    QCOMPARE(state.isAutoScrolling(), speed != 0);
    if (endOffset >= 0) {
        QTRY_COMPARE(fixture.scrollBar()->value(), endOffset);
        QTest::qWait(100);
        QCOMPARE(fixture.scrollBar()->value(), endOffset);
    }
    fixture.mouse.move(fixture.panel.inWindow(fixture.viewport(), {150, 150}));
    QVERIFY(!state.isAutoScrolling());
    fixture.mouse.release(fixture.panel.inWindow(fixture.viewport(), {150, 150}));
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
    const QPointF pointer(120, 200);

    fixture.mouse.press(fixture.panel.inWindow(fixture.row, {150, 18}));
    fixture.mouse.move(pointer);
    const DragPreviewLabel *label = DragState::shared().previewLabel();
    QVERIFY(label);
    const qreal textWidth = QFontMetricsF(label->font()).horizontalAdvance(title);
    const int width = std::min(int(std::ceil(textWidth)) + 20, 200);
    QCOMPARE(label->geometry(), QRect(qRound(pointer.x() - width / 2.0), 200 - 8 - 26, width, 26));
    QCOMPARE(label->displayedText().endsWith(QChar(0x2026)), elided);
    QCOMPARE(label->displayedText() == title, !elided);
    // Drawn above everything in the window, and never in the mouse's way.
    QCOMPARE(fixture.panel.children().last(), label);
    QCOMPARE(fixture.panel.childAt(pointer.toPoint() - QPoint(0, 20)), fixture.panel.content());
    fixture.mouse.release(pointer);
}

// Set NOOKERY_SCREENSHOT to a file name to keep the frame of the lit line between two rows.
void DragStateTest::litLineFadesAndIsDrawn() {
    DragFixture fixture;
    auto *label = new QLabel("   Wireframes", fixture.panel.content());
    label->setGeometry(0, 52, 300, 36);
    label->show();
    fixture.row->raise();
    InsertionLineView *line = fixture.panel.addLine<InsertionLineView>(88);

    fixture.startDrag();
    fixture.moveTo(line, 6);
    QVERIFY(line->markerOpacity() < 1);
    QTRY_COMPARE_WITH_TIMEOUT(line->markerOpacity(), 1.0, 300);
    const QImage frame = fixture.panel.grab().toImage();
    if (const QByteArray path = qgetenv("NOOKERY_SCREENSHOT"); !path.isEmpty())
        QVERIFY(frame.save(QString::fromLocal8Bit(path)));
    const QColor accent = fixture.panel.palette().color(QPalette::Highlight);
    const QPoint middle = fixture.panel.inWindow(line, {0, 6}).toPoint();
    QCOMPARE(frame.pixelColor(middle + QPoint(14, 0)), accent);  // the dot
    QCOMPARE(frame.pixelColor(middle + QPoint(150, 0)), accent); // the bar
    QVERIFY(frame.pixelColor(middle + QPoint(150, -3)) != accent);

    fixture.drop(line, 6);
    QTRY_COMPARE_WITH_TIMEOUT(line->markerOpacity(), 0.0, 300);
}

QTEST_MAIN(DragStateTest)
#include "tst_dragstate.moc"
