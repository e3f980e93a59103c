#include "DragTestPanel.h"

#include "dragdrop/DragState.h"

#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

namespace {

QList<QWidget *> registeredZones() {
    QList<QWidget *> views;
    for (const auto &entry : DragState::shared().zones().entries())
        views.append(entry.view);
    return views;
}

// Presses on `row`, moves past the threshold, then onto `point` in `widget`.
void dragOnto(DragTestPanel &panel, MouseDriver &mouse, QWidget *row, QWidget *widget,
              const QPointF &point) {
    const QPointF start = panel.inWindow(row, {150, 18});
    mouse.press(start);
    mouse.move(start + QPointF(0, 6));
    mouse.move(panel.inWindow(widget, point));
}

} // namespace

class DropZonesTest : public QObject {
    Q_OBJECT
private slots:
    void registrationFollowsVisibility();
    void mouseEventsPassThroughZones();
    void zoneGoneBeforeTheNextTurnGetsNoDrop();
    void ownerMayDeleteItsZoneWhenTheHighlightGoes();
    void insertionLineFadesItsMarker();
    void renderDragInFlight();
};

void DropZonesTest::registrationFollowsVisibility() {
    DragTestPanel panel;
    panel.hide();
    DropZoneView *first = panel.addZone({0, 0, 300, 50});
    DropZoneView *second = panel.addZone({0, 50, 300, 50});
    QCOMPARE(registeredZones(), QList<QWidget *>());

    panel.show();
    QCOMPARE(registeredZones(), QList<QWidget *>({first, second}));
    first->hide();
    QCOMPARE(registeredZones(), QList<QWidget *>({second}));
    first->show();
    QCOMPARE(registeredZones(), QList<QWidget *>({second, first}));

    first->setParent(nullptr);
    QCOMPARE(registeredZones(), QList<QWidget *>({second}));
    // Shown as a window of its own it is in no panel: still not a place to drop.
    first->show();
    QCOMPARE(registeredZones(), QList<QWidget *>({second}));
    delete first;
    delete second;
    QCOMPARE(registeredZones(), QList<QWidget *>());
}

void DropZonesTest::mouseEventsPassThroughZones() {
    DragTestPanel panel;
    TabRowDragSourceView *row = panel.addRow({0, 100, 300, 36}, "a");
    int taps = 0;
    QList<bool> hovers;
    row->setFields({.stableID = "a",
                    .onTap = [&taps] { ++taps; },
                    .onHover = [&hovers](bool on) { hovers.append(on); }});
    panel.addZone({0, 0, 300, 300});
    panel.addLine(112);
    panel.addFolderLine(112);
    MouseDriver mouse(&panel);
    const QPointF point = panel.inWindow(row, {150, 18});

    mouse.move(point);
    mouse.press(point);
    mouse.release(point);
    QCOMPARE(taps, 1);
    QCOMPARE(hovers, QList<bool>{true});
}

void DropZonesTest::zoneGoneBeforeTheNextTurnGetsNoDrop() {
    DragTestPanel panel;
    TabRowDragSourceView *row = panel.addRow({0, 40, 300, 36}, "a");
    DropZoneView *zone = panel.addZone({0, 150, 300, 100});
    OwnerLog log;
    log.watch(zone, "zone");
    MouseDriver mouse(&panel);

    dragOnto(panel, mouse, row, zone, {150, 50});
    mouse.release(panel.inWindow(zone, {150, 50}));
    delete zone;
    QCoreApplication::processEvents();
    QCOMPARE(log.entries, QStringList());
}

void DropZonesTest::ownerMayDeleteItsZoneWhenTheHighlightGoes() {
    DragTestPanel panel;
    TabRowDragSourceView *row = panel.addRow({0, 40, 300, 36}, "a");
    DropZoneView *zone = panel.addZone({0, 150, 300, 100});
    QStringList heard;
    // An owner that rebuilds itself as soon as its flag changes.
    zone->setCallbacks([&heard](const QStringList &ids) { heard.append("drop " + ids.join(',')); },
                       [&heard, zone](bool on) {
                           heard.append(on ? "on" : "off");
                           if (!on)
                               delete zone;
                       });
    MouseDriver mouse(&panel);

    dragOnto(panel, mouse, row, zone, {150, 50});
    mouse.release(panel.inWindow(zone, {150, 50}));
    QCoreApplication::processEvents();
    QCOMPARE(heard, QStringList({"on", "off"}));
}

void DropZonesTest::insertionLineFadesItsMarker() {
    DragTestPanel panel;
    TabRowDragSourceView *row = panel.addRow({0, 40, 300, 36}, "a");
    InsertionLineView *line = panel.addLine(150);
    QStringList dropped;
    line->setCallbacks([&dropped](const QStringList &ids) { dropped += ids; }, {});
    QCOMPARE(line->height(), 12);
    QCOMPARE(line->sizeHint().height() <= 12 || line->maximumHeight() == 12, true);
    MouseDriver mouse(&panel);

    dragOnto(panel, mouse, row, line, {150, 6});
    QCoreApplication::processEvents();
    QVERIFY(line->isTargeted());
    QVERIFY(line->markerOpacity() < 1);
    QTRY_COMPARE_WITH_TIMEOUT(line->markerOpacity(), 1.0, 300);

    mouse.release(panel.inWindow(line, {150, 6}));
    QCoreApplication::processEvents();
    QCOMPARE(dropped, QStringList{"a"});
    QVERIFY(!line->isTargeted());
    QTRY_COMPARE_WITH_TIMEOUT(line->markerOpacity(), 0.0, 300);
    QCOMPARE(line->height(), 12);
}

// A frame of a drag in flight: the label above the pointer and the lit line between two rows.
// Set NOOKERY_SCREENSHOT to a file name to keep the frame.
void DropZonesTest::renderDragInFlight() {
    DragTestPanel panel;
    const QStringList titles = {"Wireframes", "Design system", "Onboarding flow"};
    InsertionLineView *target = nullptr;
    for (int i = 0; i < titles.size(); ++i) {
        auto *label = new QLabel("   " + titles[i], panel.content());
        label->setGeometry(0, 12 + i * 48, 300, 36);
        label->show();
        panel.addRow({0, 12 + i * 48, 300, 36}, QString::number(i))->raise();
        InsertionLineView *line = panel.addLine(i * 48);
        if (i == 2)
            target = line;
    }
    MouseDriver mouse(&panel);

    dragOnto(panel, mouse, panel.content()->childAt(150, 30), target, {150, 6});
    QCoreApplication::processEvents();
    QTRY_COMPARE_WITH_TIMEOUT(target->markerOpacity(), 1.0, 300);
    const QImage frame = panel.grab().toImage();
    if (const QByteArray path = qgetenv("NOOKERY_SCREENSHOT"); !path.isEmpty())
        QVERIFY(frame.save(QString::fromLocal8Bit(path)));

    const QColor accent = panel.palette().color(QPalette::Highlight);
    const QPoint lineMiddle = panel.inWindow(target, {0, 6}).toPoint();
    QCOMPARE(frame.pixelColor(lineMiddle + QPoint(14, 0)), accent);  // the dot
    QCOMPARE(frame.pixelColor(lineMiddle + QPoint(150, 0)), accent); // the bar
    QVERIFY(frame.pixelColor(lineMiddle + QPoint(150, -3)) != accent);
    mouse.release(panel.inWindow(target, {150, 6}));
}

QTEST_MAIN(DropZonesTest)
#include "tst_dropzones.moc"
