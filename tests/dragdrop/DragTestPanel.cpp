#include "DragTestPanel.h"

#include "dragdrop/DragState.h"

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

void MouseDriver::press(const QPointF &point, Qt::KeyboardModifiers modifiers) {
    modifiers_ = modifiers;
    buttons_ |= Qt::LeftButton;
    send(point, Qt::LeftButton, QEvent::MouseButtonPress);
}

void MouseDriver::release(const QPointF &point) {
    buttons_ &= ~Qt::LeftButton;
    send(point, Qt::LeftButton, QEvent::MouseButtonRelease);
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
