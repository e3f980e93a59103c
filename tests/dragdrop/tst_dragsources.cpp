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

    void pressOrDrag_data() {
        QTest::addColumn<QString>("source"); // "row", "header" in edit mode, or "normal header"
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QPointF>("offset");
        QTest::addColumn<bool>("drags");
        const Qt::KeyboardModifiers none;
        QTest::newRow("row, 4 px right") << "row" << none << QPointF(4, 0) << false;
        QTest::newRow("row, 4.5 px right") << "row" << none << QPointF(4.5, 0) << true;
        QTest::newRow("row, 3,3 diagonally") << "row" << none << QPointF(3, 3) << true;
        QTest::newRow("row, Ctrl, 160 px")
            << "row" << Qt::KeyboardModifiers(Qt::ControlModifier) << QPointF(0, 160) << false;
        QTest::newRow("header, 5 px") << "header" << none << QPointF(0, 5) << false;
        QTest::newRow("header, 5.5 px") << "header" << none << QPointF(0, 5.5) << true;
        QTest::newRow("normal header, 60 px") << "normal header" << none << QPointF(0, 60) << false;
    }

    void pressOrDrag() {
        QFETCH(QString, source);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QPointF, offset);
        QFETCH(bool, drags);
        DragTestPanel panel;
        CountedRow row(panel, 100, "a");
        FolderHeaderDragSourceView *header = panel.addHeader({0, 200, 300, 36}, source == "header");
        int headerTaps = 0;
        FolderHeaderDragSourceView::Fields fields = header->fields();
        fields.onTap = [&headerTaps] { ++headerTaps; };
        header->setFields(fields);
        MouseDriver mouse(&panel);
        const QPointF start = source == "row" ? row.centre : panel.inWindow(header, {150, 18});

        mouse.press(start, modifiers);
        mouse.move(start + offset / 2);
        mouse.move(start + offset);
        QCOMPARE(DragState::shared().isDragging(), drags);
        QCOMPARE(DragState::shared().activeFolderID().has_value(), drags && source != "row");
        // The label appears on the very move that starts the drag.
        const QString label =
            source == "row" ? "Title a" : QString::fromUtf8("\xF0\x9F\x93\x81 Work");
        QCOMPARE(labelText(), drags ? label : QString());
        mouse.release(start + offset);

        const bool ctrl = modifiers != Qt::NoModifier;
        QCOMPARE(row.taps + headerTaps, drags || ctrl ? 0 : 1);
        QCOMPARE(row.commandTaps, ctrl ? 1 : 0);
        QCOMPARE(row.clears, drags && source == "row" ? 1 : 0);
        QVERIFY(!DragState::shared().previewLabel());
    }

    void dragCarriesTheSelectionItBelongsTo_data() {
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

    void dragCarriesTheSelectionItBelongsTo() {
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

    void folderDragDropsTheFolderID() {
        DragTestPanel panel;
        FolderHeaderDragSourceView *header = panel.addHeader({0, 100, 300, 36}, true);
        auto *above = panel.addLine<FolderInsertionZoneView>(80);
        auto *below = panel.addLine<FolderInsertionZoneView>(140);
        OwnerLog log;
        log.watch(above, "above");
        log.watch(below, "below");
        log.watch(panel.addZone({0, 0, 300, 300}), "tabs");
        MouseDriver mouse(&panel);

        // No slack round folder lines: 2 px above one hits nothing; tab zones never light.
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

    void folderMenuOnlyOutsideEditMode() {
        DragTestPanel panel;
        FolderHeaderDragSourceView *header = panel.addHeader({0, 100, 300, 36}, false);
        QStringList heard;
        FolderHeaderDragSourceView::Fields fields = header->fields();
        fields.onRename = [&heard] { heard.append("rename"); };
        fields.onDelete = [&heard] { heard.append("delete"); };
        header->setFields(fields);
        const auto openMenu = [&] {
            QContextMenuEvent event(QContextMenuEvent::Mouse, {150, 18},
                                    header->mapToGlobal(QPoint()));
            QApplication::sendEvent(header, &event);
            return qobject_cast<QMenu *>(QApplication::activePopupWidget());
        };
        for (const char *text : {"Rename", "Delete Folder"}) {
            QMenu *menu = openMenu();
            QVERIFY(menu);
            for (QAction *action : menu->actions())
                if (action->text() == text)
                    action->trigger();
            menu->close();
        }
        QCOMPARE(heard, QStringList({"rename", "delete"}));
        fields.editMode = true;
        header->setFields(fields);
        QVERIFY(!openMenu());
    }

    // Hover follows the pointer, and the row under a resting pointer as the list scrolls.
    void hoverAndCursors() {
        DragTestPanel panel;
        CountedRow first(panel, 40, "a");
        CountedRow second(panel, 90, "b");
        FolderHeaderDragSourceView *header = panel.addHeader({0, 150, 300, 36}, true);
        MouseDriver mouse(&panel);
        mouse.move(panel.inWindow(header, {150, 18}));
        QVERIFY(header->isCurrentlyHovered());
        QCOMPARE(header->cursor().shape(), Qt::OpenHandCursor);
        FolderHeaderDragSourceView::Fields fields = header->fields();
        fields.editMode = false; // under a resting pointer: the cursor changes at once
        header->setFields(fields);
        QCOMPARE(header->cursor().shape(), Qt::PointingHandCursor);

        mouse.move(first.centre);
        QCursor::setPos(panel.mapToGlobal(first.centre).toPoint());
        QCOMPARE(first.hovers, QList<bool>{true});
        QCOMPARE(first.view->cursor().shape(), Qt::PointingHandCursor);
        panel.list()->verticalScrollBar()->setValue(50); // the second row slides under the pointer
        QTRY_COMPARE(first.hovers, QList<bool>({true, false}));
        QCOMPARE(second.hovers, QList<bool>{true});
    }

    // A handler may rebuild its row's callbacks from inside itself, as a refreshing owner does.
    void callbacksAreReplacedEvenWhileRunning() {
        DragTestPanel panel;
        TabRowDragSourceView *row = panel.addRow({0, 40, 300, 36}, "a");
        QStringList heard;
        TabRowDragSourceView::Fields fields = row->fields();
        fields.onTap = [&heard, row, fields]() mutable {
            heard.append("first");
            fields.onTap = [&heard] { heard.append("second"); };
            row->setFields(fields);
        };
        row->setFields(fields);
        MouseDriver mouse(&panel);
        for (int i = 0; i < 2; ++i)
            mouse.drag(panel.inWindow(row, {150, 18}), {});
        QCOMPARE(heard, QStringList({"first", "second"}));
    }
};

QTEST_MAIN(DragSourcesTest)
#include "tst_dragsources.moc"
