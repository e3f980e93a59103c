#include "DragTestPanel.h"

#include "dragdrop/DragState.h"

#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

namespace {

// A tab row whose callbacks are counted, with the given selection around it.
struct CountedRow {
    CountedRow(DragTestPanel &panel, int y, const QString &stableID, QStringList selection = {})
        : view(panel.addRow({0, y, DragTestPanel::panelWidth, 36}, stableID))
        , centre(panel.inWindow(view, {150, 18})) {
        TabRowDragSourceView::Fields fields = view->fields();
        fields.onTap = [this] { ++taps; };
        fields.onCommandTap = [this] { ++commandTaps; };
        fields.onHover = [this](bool on) { hovers.append(on); };
        fields.getSelectedIDs = [selection] { return selection; };
        fields.clearSelection = [this] { ++clears; };
        view->setFields(fields);
    }

    TabRowDragSourceView *view;
    QPointF centre;
    int taps = 0;
    int commandTaps = 0;
    int clears = 0;
    QList<bool> hovers;
};

QString labelText() {
    const DragPreviewLabel *label = DragState::shared().previewLabel();
    return label ? label->text() : QString();
}

} // namespace

class DragSourcesTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QVERIFY(!DragState::shared().isDragging()); }
    void tabRowPress_data();
    void tabRowPress();
    void dragCarriesTheSelectionItBelongsTo_data();
    void dragCarriesTheSelectionItBelongsTo();
    void folderHeaderThreshold_data();
    void folderHeaderThreshold();
    void folderDragDropsTheFolderID();
    void folderMenuOnlyOutsideEditMode();
    void hoverAndCursors();
    void hoverIsRepairedWhenTheListScrolls();
    void callbacksAreReplacedEvenWhileRunning();
};

void DragSourcesTest::tabRowPress_data() {
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<bool>("drags");
    const Qt::KeyboardModifiers none;
    QTest::newRow("4 px right") << none << QPointF(4, 0) << false;
    QTest::newRow("4 px up") << none << QPointF(0, -4) << false;
    QTest::newRow("4.5 px right") << none << QPointF(4.5, 0) << true;
    QTest::newRow("3,3 diagonally") << none << QPointF(3, 3) << true;
    QTest::newRow("Ctrl, 160 px") << Qt::KeyboardModifiers(Qt::ControlModifier) << QPointF(0, 160)
                                  << false;
}

void DragSourcesTest::tabRowPress() {
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPointF, offset);
    QFETCH(bool, drags);
    DragTestPanel panel;
    CountedRow row(panel, 100, "a");
    MouseDriver mouse(&panel);

    mouse.press(row.centre, modifiers);
    mouse.move(row.centre + offset / 2);
    mouse.move(row.centre + offset);
    QCOMPARE(DragState::shared().isDragging(), drags);
    // The label appears on the very move that starts the drag.
    QCOMPARE(labelText(), drags ? QString("Title a") : QString());
    mouse.release(row.centre + offset);

    const bool ctrl = modifiers != Qt::NoModifier;
    QCOMPARE(row.taps, drags || ctrl ? 0 : 1);
    QCOMPARE(row.commandTaps, ctrl ? 1 : 0);
    QCOMPARE(row.clears, drags ? 1 : 0);
    QVERIFY(!DragState::shared().previewLabel());
}

void DragSourcesTest::dragCarriesTheSelectionItBelongsTo_data() {
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QStringList>("carried");
    QTest::addColumn<QString>("label");
    QTest::newRow("selected row of three")
        << QStringList{"c", "a", "b"} << "a" << QStringList{"c", "a", "b"} << "3 files";
    QTest::newRow("unselected row")
        << QStringList{"a", "b", "c"} << "d" << QStringList{"d"} << "Title d";
    QTest::newRow("the only selected row")
        << QStringList{"a"} << "a" << QStringList{"a"} << "Title a";
}

void DragSourcesTest::dragCarriesTheSelectionItBelongsTo() {
    QFETCH(QStringList, selection);
    QFETCH(QString, dragged);
    QFETCH(QStringList, carried);
    QFETCH(QString, label);
    DragTestPanel panel;
    CountedRow row(panel, 40, dragged, selection);
    DropZoneView *folder = panel.addZone({0, 150, 300, 100});
    OwnerLog log;
    log.watch(folder, "folder");
    MouseDriver mouse(&panel);

    mouse.press(row.centre);
    mouse.move(row.centre + QPointF(0, 10));
    QCOMPARE(DragState::shared().activeStableID(), std::optional<QString>(dragged));
    QCOMPARE(DragState::shared().dragSelection(), carried);
    QCOMPARE(labelText(), label);
    mouse.move(panel.inWindow(folder, {150, 50}));
    mouse.release(panel.inWindow(folder, {150, 50}));
    QCoreApplication::processEvents();

    QCOMPARE(log.entries, QStringList({"folder:highlight on", "folder:highlight off",
                                       "folder:drop " + carried.join(',')}));
    QCOMPARE(row.clears, 1);
}

void DragSourcesTest::folderHeaderThreshold_data() {
    QTest::addColumn<bool>("editMode");
    QTest::addColumn<QPointF>("offset");
    QTest::addColumn<bool>("drags");
    QTest::newRow("edit mode, 5 px") << true << QPointF(0, 5) << false;
    QTest::newRow("edit mode, 3,4 diagonally") << true << QPointF(3, 4) << false;
    QTest::newRow("edit mode, 5.5 px") << true << QPointF(0, 5.5) << true;
    QTest::newRow("normal mode, 60 px") << false << QPointF(0, 60) << false;
}

void DragSourcesTest::folderHeaderThreshold() {
    QFETCH(bool, editMode);
    QFETCH(QPointF, offset);
    QFETCH(bool, drags);
    DragTestPanel panel;
    FolderHeaderDragSourceView *header = panel.addHeader({0, 100, 300, 36}, editMode);
    int taps = 0;
    FolderHeaderDragSourceView::Fields fields = header->fields();
    fields.onTap = [&taps] { ++taps; };
    header->setFields(fields);
    MouseDriver mouse(&panel);
    const QPointF start = panel.inWindow(header, {150, 18});

    mouse.press(start);
    mouse.move(start + offset);
    QCOMPARE(DragState::shared().activeFolderID().has_value(), drags);
    QCOMPARE(labelText(), drags ? QString::fromUtf8("\xF0\x9F\x93\x81 Work") : QString());
    mouse.release(start + offset);
    QCOMPARE(taps, drags ? 0 : 1);
}

void DragSourcesTest::folderDragDropsTheFolderID() {
    DragTestPanel panel;
    FolderHeaderDragSourceView *header = panel.addHeader({0, 100, 300, 36}, true);
    auto *above = panel.addLine<FolderInsertionZoneView>(80);
    auto *below = panel.addLine<FolderInsertionZoneView>(140);
    OwnerLog log;
    log.watch(above, "above");
    log.watch(below, "below");
    log.watch(panel.addZone({0, 0, 300, 300}), "tabs");
    MouseDriver mouse(&panel);

    // Folder lines have no slack: 2 px above the upper line hits nothing; tab zones never light.
    mouse.drag(panel.inWindow(header, {150, 18}),
               {panel.inWindow(below, {150, 6}), panel.inWindow(above, {150, -2})});
    QCoreApplication::processEvents();
    mouse.drag(panel.inWindow(header, {150, 18}), {panel.inWindow(above, {150, 6})});
    QCoreApplication::processEvents();

    const QString id = header->fields().folderID.toString(QUuid::WithoutBraces);
    QCOMPARE(log.entries,
             QStringList({"below:highlight on", "below:highlight off", "above:highlight on",
                          "above:highlight off", "above:drop " + id}));
}

void DragSourcesTest::folderMenuOnlyOutsideEditMode() {
    DragTestPanel panel;
    FolderHeaderDragSourceView *header = panel.addHeader({0, 100, 300, 36}, false);
    QStringList heard;
    FolderHeaderDragSourceView::Fields fields = header->fields();
    fields.onRename = [&heard] { heard.append("rename"); };
    fields.onDelete = [&heard] { heard.append("delete"); };
    header->setFields(fields);
    const auto openMenu = [&] {
        QContextMenuEvent event(QContextMenuEvent::Mouse, {150, 18},
                                header->mapToGlobal(QPoint(150, 18)));
        QApplication::sendEvent(header, &event);
        return qobject_cast<QMenu *>(QApplication::activePopupWidget());
    };

    for (int index : {0, 2}) {
        QMenu *menu = openMenu();
        QVERIFY(menu);
        QStringList texts;
        for (QAction *action : menu->actions())
            texts.append(action->isSeparator() ? "-" : action->text());
        QCOMPARE(texts, QStringList({"Rename", "-", "Delete Folder"}));
        menu->actions().at(index)->trigger();
        menu->close();
    }
    QCOMPARE(heard, QStringList({"rename", "delete"}));

    fields.editMode = true;
    header->setFields(fields);
    QVERIFY(!openMenu());
}

void DragSourcesTest::hoverAndCursors() {
    DragTestPanel panel;
    CountedRow row(panel, 40, "a");
    FolderHeaderDragSourceView *header = panel.addHeader({0, 100, 300, 36}, true);
    MouseDriver mouse(&panel);

    mouse.move(row.centre);
    QCOMPARE(row.hovers, QList<bool>{true});
    QCOMPARE(row.view->cursor().shape(), Qt::PointingHandCursor);
    mouse.move(panel.inWindow(header, {150, 18}));
    QCOMPARE(row.hovers, QList<bool>({true, false}));
    QVERIFY(header->isCurrentlyHovered());
    QCOMPARE(header->cursor().shape(), Qt::OpenHandCursor);

    // Leaving edit mode under a resting pointer changes the cursor at once.
    FolderHeaderDragSourceView::Fields fields = header->fields();
    fields.editMode = false;
    header->setFields(fields);
    QCOMPARE(header->cursor().shape(), Qt::PointingHandCursor);
}

void DragSourcesTest::hoverIsRepairedWhenTheListScrolls() {
    DragTestPanel panel;
    CountedRow first(panel, 40, "a");
    CountedRow second(panel, 90, "b");
    MouseDriver mouse(&panel);
    mouse.move(first.centre);
    QCursor::setPos(panel.mapToGlobal(first.centre).toPoint());

    // The rows slide up by 50 under the pointer: the second row is now under it.
    panel.list()->verticalScrollBar()->setValue(50);
    QTRY_COMPARE(first.hovers, QList<bool>({true, false}));
    QCOMPARE(second.hovers, QList<bool>{true});
}

void DragSourcesTest::callbacksAreReplacedEvenWhileRunning() {
    DragTestPanel panel;
    TabRowDragSourceView *row = panel.addRow({0, 40, 300, 36}, "a");
    QStringList heard;
    TabRowDragSourceView::Fields fields = row->fields();
    // The handler rebuilds the row's callbacks from inside itself, as a refreshing owner may.
    fields.onTap = [&heard, row, fields]() mutable {
        heard.append("first");
        fields.onTap = [&heard] { heard.append("second"); };
        row->setFields(fields);
    };
    row->setFields(fields);
    MouseDriver mouse(&panel);
    const QPointF point = panel.inWindow(row, {150, 18});
    for (int i = 0; i < 2; ++i)
        mouse.drag(point, {});
    QCOMPARE(heard, QStringList({"first", "second"}));
}

QTEST_MAIN(DragSourcesTest)
#include "tst_dragsources.moc"
