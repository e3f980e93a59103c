#include "DragTestPanel.h"

#include "dragdrop/DragState.h"

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
    void cleanup() {
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

    void hoverAndDrop_data() {
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
        QTest::newRow("on a zone's top edge")
            << lineAndZone << QList<int>{250, 500} << missed("zone");
        QTest::newRow("nearer the upper line") << adjacent << QList<int>{161} << dropped("upper");
        QTest::newRow("nearer the lower line") << adjacent << QList<int>{163} << dropped("lower");
        QTest::newRow("tie, upper registered first")
            << adjacent << QList<int>{162} << dropped("upper");
        QTest::newRow("tie, upper registered again")
            << adjacent + QStringList{"again upper"} << QList<int>{162} << dropped("lower");
        QTest::newRow("in the lower's slack only")
            << adjacent << QList<int>{190} << dropped("lower");
        QTest::newRow("line inside a section: both lit, the line takes the drop")
            << QStringList{"zone section 120 200", "line line 200"} << QList<int>{206}
            << QStringList{"line:highlight on",  "section:highlight on", "clear selection",
                           "line:highlight off", "line:drop a",          "section:highlight off"};
        QTest::newRow("transitions in order, never repeated; nothing dropped outside")
            << QStringList{"zone first 150 60", "zone second 210 60"}
            << QList<int>{155, 165, 175, 185, 195, 205, 215, 240, 500}
            << QStringList{"first:highlight on", "first:highlight off", "second:highlight on",
                           "second:highlight off", "clear selection"};
        const QStringList overlapping{"zone first 200 100", "zone second 250 100"};
        QTest::newRow("overlap, first registered")
            << overlapping << QList<int>{270} << dropped("first");
        QTest::newRow("overlap, first registered again")
            << overlapping + QStringList{"again first"} << QList<int>{270} << dropped("second");
    }

    void hoverAndDrop() {
        QFETCH(QStringList, zones);
        QFETCH(QList<int>, path);
        QFETCH(QStringList, heard);
        DragFixture fixture;
        QSignalSpy finished(&DragState::shared(), &DragState::dragFinished);
        QHash<QString, std::function<void()>> registerAgain; // moves the zone to the end
        for (const QString &description : zones) {
            const QStringList field = description.split(' ');
            const QString name = field[1];
            if (field[0] == "line") {
                InsertionLineView *line = fixture.line(field[2].toInt(), name);
                registerAgain[name] = [&fixture, line, name] { fixture.log.watch(line, name); };
            } else if (field[0] == "zone") {
                DropZoneView *zone =
                    fixture.zone({0, field[2].toInt(), 300, field[3].toInt()}, name);
                registerAgain[name] = [&fixture, zone, name] { fixture.log.watch(zone, name); };
            } else {
                registerAgain[name]();
            }
        }
        fixture.startDrag();
        for (int y : path)
            fixture.moveTo(fixture.panel.content(), y);
        fixture.drop(fixture.panel.content(), path.last());
        QCOMPARE(fixture.log.entries, heard);
        QCOMPARE(finished.count(), 1);
    }

    void registrationFollowsVisibility() {
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

    // The owner hears of the drop once the release was handled, and may delete the zone first
    // or as its highlight goes.
    void dropRunsAfterTheReleaseWasHandled_data() {
        QTest::addColumn<QString>("zoneDies");
        QTest::addColumn<QStringList>("heardLater");
        QTest::newRow("zone lives") << "never" << QStringList{"zone:highlight off", "zone:drop a"};
        QTest::newRow("zone deleted before the next turn") << "at once" << QStringList{};
        QTest::newRow("owner deletes it as the highlight goes")
            << "with the highlight" << QStringList{"zone:highlight off"};
    }
    void dropRunsAfterTheReleaseWasHandled() {
        QFETCH(QString, zoneDies);
        QFETCH(QStringList, heardLater);
        DragFixture fixture;
        DropZoneView *zone = fixture.zone({0, 200, 300, 100}, "zone");
        if (zoneDies == "with the highlight")
            zone->setCallbacks([&](const QStringList &) { fixture.log.note("zone:drop"); },
                               [&, zone](bool on) {
                                   fixture.log.note(on ? "zone:highlight on"
                                                       : "zone:highlight off");
                                   if (!on)
                                       delete zone;
                               });
        fixture.startDrag();
        fixture.moveTo(zone, 50);
        fixture.mouse.release(fixture.panel.inWindow(zone, {150, 50}));
        QCOMPARE(fixture.log.entries, QStringList({"zone:highlight on", "clear selection"}));
        QVERIFY(zone->isTargeted());
        QVERIFY(!DragState::shared().isDragging());
        if (zoneDies == "at once")
            delete zone;
        QCoreApplication::processEvents();
        QCOMPARE(fixture.log.entries.mid(2), heardLater);
    }

    void zonesThatGoAwayDuringADragAreInert() {
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

    void zonesScrolledOutOfSightAreNotHit() {
        DragFixture fixture;
        fixture.zone({0, 0, 300, 100}, "top");
        fixture.scrollBar()->setValue(50);
        // Window y 10 lies within the zone's rectangle, but under the panel's header.
        fixture.startDrag(fixture.panel.addRow({0, 200, 300, 36}, "b"));
        fixture.moveTo(&fixture.panel, 10);
        fixture.drop(&fixture.panel, 10);
        QCOMPARE(fixture.log.entries, QStringList());
    }

    void mouseEventsPassThroughZones() {
        DragFixture fixture;
        fixture.panel.addZone({0, 0, 300, 300});
        fixture.panel.addLine<InsertionLineView>(52);
        fixture.panel.addLine<FolderInsertionZoneView>(52);
        fixture.mouse.drag(fixture.panel.inWindow(fixture.row, {150, 18}), {});
        QCOMPARE(fixture.log.entries, QStringList{"tap"});
    }

    // Closing the panel mid-drag must not leave a drag stuck on for the next opening.
    void closingThePanelMidDragEndsItWithoutADrop() {
        DragFixture fixture;
        DropZoneView *zone = fixture.zone({0, 200, 300, 100}, "zone");
        fixture.startDrag();
        fixture.moveTo(zone, 90); // in the bottom band: scrolling
        QSignalSpy finished(&DragState::shared(), &DragState::dragFinished);
        fixture.panel.hide();
        QCoreApplication::processEvents();
        QVERIFY(!DragState::shared().isDragging() && !DragState::shared().isAutoScrolling());
        QCOMPARE(finished.count(), 1);
        // Open again: the late release is no click, and the next drag runs as usual.
        fixture.panel.show();
        fixture.drop(fixture.row, 18);
        fixture.startDrag();
        fixture.moveTo(zone, 50);
        fixture.drop(zone, 50);
        QCOMPARE(fixture.log.entries,
                 QStringList({"zone:highlight on", "zone:highlight off", "zone:highlight on",
                              "clear selection", "zone:highlight off", "zone:drop a"}));
    }

    void autoScroll_data() {
        // y in the list's 300 px viewport; an end offset of -1: still scrolling, not waited for.
        QTest::addColumn<int>("contentHeight");
        QTest::addColumn<int>("startOffset");
        QTest::addColumn<qreal>("y");
        QTest::addColumn<qreal>("speed");
        QTest::addColumn<int>("endOffset");
        QTest::newRow("20 below the top") << 1000 << 100 << 20.0 << -2.0 << -1;
        QTest::newRow("40 below the top") << 1000 << 100 << 40.0 << 0.0 << 100;
        QTest::newRow("20 above the bottom") << 1000 << 100 << 280.0 << 2.0 << -1;
        QTest::newRow("above the list") << 1000 << 100 << -5.0 << 0.0 << 100;
        QTest::newRow("below the list") << 1000 << 100 << 305.0 << 0.0 << 100;
        QTest::newRow("up to the start") << 1000 << 10 << 0.0 << -4.0 << 0;
        QTest::newRow("down to the last page") << 1000 << 690 << 299.0 << 3.9 << 700;
        QTest::newRow("content shorter than the list") << 200 << 0 << 299.0 << 3.9 << 0;
    }

    void autoScroll() {
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

    void previewLabel_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("elided");
        QTest::newRow("short title") << "Wireframes" << false;
        QTest::newRow("long title")
            << QString("Design system components, tokens and every icon we own") << true;
    }

    void previewLabel() {
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
        QCOMPARE(label->geometry(),
                 QRect(qRound(pointer.x() - width / 2.0), 200 - 8 - 26, width, 26));
        QCOMPARE(label->displayedText().endsWith(QChar(0x2026)), elided);
        QCOMPARE(label->displayedText() == title, !elided);
        // Drawn above everything in the window, and never in the mouse's way.
        QCOMPARE(fixture.panel.children().last(), label);
        QCOMPARE(fixture.panel.childAt(pointer.toPoint() - QPoint(0, 20)), fixture.panel.content());
        fixture.mouse.release(pointer);
    }

    // The marker fades in and out, and lit it draws in the accent colour.
    void litLineFadesAndIsDrawn() {
        DragFixture fixture;
        InsertionLineView *line = fixture.panel.addLine<InsertionLineView>(88);
        fixture.startDrag();
        fixture.moveTo(line, 6);
        QVERIFY(line->markerOpacity() < 1);
        QTRY_COMPARE_WITH_TIMEOUT(line->markerOpacity(), 1.0, 300);
        const QPoint bar = fixture.panel.inWindow(line, {150, 6}).toPoint();
        QCOMPARE(fixture.panel.grab().toImage().pixelColor(bar),
                 fixture.panel.palette().color(QPalette::Highlight));
        fixture.drop(line, 6);
        QTRY_COMPARE_WITH_TIMEOUT(line->markerOpacity(), 0.0, 300);
    }
};

QTEST_MAIN(DragStateTest)
#include "tst_dragstate.moc"
