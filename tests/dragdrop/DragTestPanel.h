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
#include <QUuid>
#include <QWidget>

// A stand-in for the panel: a 30 px header above a 300 × 300 scrolling list laid out by hand,
// so every test knows where each row and zone lies. The list is the drag state's scroll area.
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
    DropZoneView *addZone(const QRect &rect) { return place(new DropZoneView(content_), rect); }
    template <typename Line> Line *addLine(int y) {
        return place(new Line(content_),
                     QRect(0, y, panelWidth, InsertionMarkerStrip::stripHeight));
    }

    QPointF inWindow(const QWidget *widget, const QPointF &point) const {
        return widget->mapTo(this, point);
    }

private:
    template <typename View> View *place(View *view, const QRect &rect) {
        view->setGeometry(rect);
        view->show();
        return view;
    }

    QScrollArea *list_;
    QWidget *content_;
};

// Sends mouse events through the window system, with fractional positions, and leaves queued
// work alone so a test can look at the state between a release and the next event-loop turn.
class MouseDriver {
public:
    explicit MouseDriver(QWidget *window)
        : window_(window) {}

    void press(const QPointF &point, Qt::KeyboardModifiers modifiers = {});
    void move(const QPointF &point) { send(point, Qt::NoButton, QEvent::MouseMove); }
    void release(const QPointF &point);
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
    template <typename Zone> void watch(Zone *zone, const QString &name) {
        zone->setCallbacks(
            [this, name](const auto &dropped) { note(name + ":drop " + describe(dropped)); },
            [this, name](bool on) { note(name + (on ? ":highlight on" : ":highlight off")); });
    }
    void note(const QString &entry) { entries.append(entry); }

    QStringList entries;

private:
    static QString describe(const QStringList &ids) { return ids.join(','); }
    static QString describe(const QUuid &id) { return id.toString(QUuid::WithoutBraces); }
};
