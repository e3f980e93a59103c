#pragma once

#include "dragdrop/DropZoneView.h"
#include "dragdrop/FolderHeaderDragSourceView.h"
#include "dragdrop/FolderInsertionZoneView.h"
#include "dragdrop/InsertionLineView.h"
#include "dragdrop/TabRowDragSourceView.h"

#include <QPointF>
#include <QRect>
#include <QScrollArea>
#include <QStringList>
#include <QWidget>

// A stand-in for the panel: a 30 px header above a 300 × 300 scrolling list whose content is
// laid out by hand, so every test knows exactly where each row and zone lies. The list is the
// drag state's scroll area while the panel lives.
class DragTestPanel : public QWidget {
public:
    static constexpr int headerHeight = 30;
    static constexpr int listHeight = 300;
    static constexpr int panelWidth = 300;

    explicit DragTestPanel(int contentHeight = 1000);
    ~DragTestPanel() override;

    QScrollArea *list() const { return list_; }
    QWidget *content() const { return content_; }

    // Children of the content at `rect` (content coordinates), shown at once.
    TabRowDragSourceView *addRow(const QRect &rect, const QString &stableID);
    FolderHeaderDragSourceView *addHeader(const QRect &rect, bool editMode);
    DropZoneView *addZone(const QRect &rect);
    InsertionLineView *addLine(int y);
    FolderInsertionZoneView *addFolderLine(int y);

    // `point` in `widget`'s coordinates, as a point in this window.
    QPointF inWindow(const QWidget *widget, const QPointF &point) const;

private:
    template <typename View> View *place(View *view, const QRect &rect);

    QScrollArea *list_;
    QWidget *content_;
};

// Sends mouse events through the window system, with fractional positions, and leaves queued
// work alone so a test can look at the state between a release and the next event-loop turn.
class MouseDriver {
public:
    explicit MouseDriver(QWidget *window);

    void press(const QPointF &point, Qt::KeyboardModifiers modifiers = {},
               Qt::MouseButton button = Qt::LeftButton);
    void move(const QPointF &point);
    void release(const QPointF &point, Qt::MouseButton button = Qt::LeftButton);
    // Press at `from`, move along `path`, release at the last point; no event-loop turn between.
    void drag(const QPointF &from, const QList<QPointF> &path);

private:
    void send(const QPointF &point, Qt::MouseButton button, QEvent::Type type);

    QWidget *window_;
    Qt::MouseButtons buttons_;
    Qt::KeyboardModifiers modifiers_;
};

// Records what a zone's owner hears, in order, as "name:highlight on|off" and "name:drop ids".
class OwnerLog {
public:
    void watch(DropZoneView *zone, const QString &name);
    void watch(InsertionLineView *line, const QString &name);
    void watch(FolderInsertionZoneView *zone, const QString &name);
    void note(const QString &entry) { entries.append(entry); }

    QStringList entries;

private:
    std::function<void(bool)> highlightNote(const QString &name);
};
