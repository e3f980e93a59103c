#include "DragTestPanel.h"

#include "dragdrop/DragState.h"

#include <QScrollBar>
#include <QTest>
#include <QWindow>

DragTestPanel::DragTestPanel(int contentHeight)
    : list_(new QScrollArea(this))
    , content_(new QWidget) {
    setFixedSize(panelWidth, headerHeight + listHeight);
    list_->setGeometry(0, headerHeight, panelWidth, listHeight);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    content_->setFixedSize(panelWidth, contentHeight);
    list_->setWidget(content_);
    DragState::shared().setScrollArea(list_);
    show();
    if (!QTest::qWaitForWindowExposed(this))
        qFatal("The test panel was never shown");
}

DragTestPanel::~DragTestPanel() {
    DragState::shared().setScrollArea(nullptr);
}

template <typename View> View *DragTestPanel::place(View *view, const QRect &rect) {
    view->setGeometry(rect);
    view->show();
    return view;
}

TabRowDragSourceView *DragTestPanel::addRow(const QRect &rect, const QString &stableID) {
    auto *row = place(new TabRowDragSourceView(content_), rect);
    row->setFields({.stableID = stableID, .title = "Title " + stableID});
    return row;
}

FolderHeaderDragSourceView *DragTestPanel::addHeader(const QRect &rect, bool editMode) {
    auto *header = place(new FolderHeaderDragSourceView(content_), rect);
    header->setFields(
        {.folderID = QUuid::createUuid(), .folderName = "Work", .editMode = editMode});
    return header;
}

DropZoneView *DragTestPanel::addZone(const QRect &rect) {
    return place(new DropZoneView(content_), rect);
}

InsertionLineView *DragTestPanel::addLine(int y) {
    return place(new InsertionLineView(content_),
                 QRect(0, y, panelWidth, InsertionMarkerStrip::stripHeight));
}

FolderInsertionZoneView *DragTestPanel::addFolderLine(int y) {
    return place(new FolderInsertionZoneView(content_),
                 QRect(0, y, panelWidth, InsertionMarkerStrip::stripHeight));
}

QPointF DragTestPanel::inWindow(const QWidget *widget, const QPointF &point) const {
    return widget->mapTo(this, point);
}

MouseDriver::MouseDriver(QWidget *window)
    : window_(window) {
}

void MouseDriver::press(const QPointF &point, Qt::KeyboardModifiers modifiers,
                        Qt::MouseButton button) {
    modifiers_ = modifiers;
    buttons_ |= button;
    send(point, button, QEvent::MouseButtonPress);
}

void MouseDriver::move(const QPointF &point) {
    send(point, Qt::NoButton, QEvent::MouseMove);
}

void MouseDriver::release(const QPointF &point, Qt::MouseButton button) {
    buttons_ &= ~button;
    send(point, button, QEvent::MouseButtonRelease);
    modifiers_ = {};
}

void MouseDriver::drag(const QPointF &from, const QList<QPointF> &path) {
    press(from);
    for (const QPointF &point : path)
        move(point);
    release(path.isEmpty() ? from : path.last());
}

void MouseDriver::send(const QPointF &point, Qt::MouseButton button, QEvent::Type type) {
    // Far apart in time, so two presses never make a double click.
    static int timestamp = 0;
    timestamp += 1000;
    QWindow *window = window_->windowHandle();
    qt_handleMouseEvent(window, point, window->mapToGlobal(point), buttons_, button, type,
                        modifiers_, timestamp);
}

std::function<void(bool)> OwnerLog::highlightNote(const QString &name) {
    return [this, name](bool on) { note(name + (on ? ":highlight on" : ":highlight off")); };
}

void OwnerLog::watch(DropZoneView *zone, const QString &name) {
    zone->setCallbacks(
        [this, name](const QStringList &ids) { note(name + ":drop " + ids.join(',')); },
        highlightNote(name));
}

void OwnerLog::watch(InsertionLineView *line, const QString &name) {
    line->setCallbacks(
        [this, name](const QStringList &ids) { note(name + ":drop " + ids.join(',')); },
        highlightNote(name));
}

void OwnerLog::watch(FolderInsertionZoneView *zone, const QString &name) {
    zone->setCallbacks(
        [this, name](const QUuid &id) {
            note(name + ":drop " + id.toString(QUuid::WithoutBraces));
        },
        highlightNote(name));
}
