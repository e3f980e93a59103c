#pragma once

#include "panel/PanelContext.h"
#include "panel/Thumbnail.h"
#include "panel/model/ListRows.h"
#include "panel/model/LookFades.h"
#include "panel/model/RowTransition.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QPointer>
#include <QPropertyAnimation>
#include <QSet>
#include <QTimer>
#include <QVariantAnimation>

#include <memory>
#include <optional>

#include "dragdrop/DragPreviewLabel.h"

class InPlaceNameField;
class PanelLineEdit;

// The panel's list as one view: the rows are data (ListRows), painted for the visible part only
// and hit-tested by their geometry. The view owns the mouse from press to release and runs the
// drag itself: a tab row moved past 4 px (not with Ctrl held) or an edit-mode folder handle
// moved past 5 px starts a drag; lines win over the zone around them; a drop is one store
// operation on the rows as they are when the button comes up. New rows may arrive at any time,
// also mid-drag: the drag holds stable ids and targets by value, not rows.
class RowListView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit RowListView(const PanelContext &context, QWidget *parent = nullptr);
    ~RowListView() override;

    void setRows(ListRows rows);
    const ListRows &rows() const { return m_rows; }
    const PanelContext &context() const { return m_context; }
    // The rows of the rebuild an action is about to cause are eased in over `durationMs`; an
    // action that changes nothing leaves later rebuilds unanimated.
    void animateNextRows(int durationMs);
    bool isAnimatingRows() const { return m_transition.isRunning(); }
    // The tab rows' hover, selection and selection-mark tints and the lit drop targets, eased.
    const LookFades &looks() const { return m_looks; }
    // Highlights the tab's row and, when it is shown, centres it, eased out over 0.12 s.
    void setKeyboardHighlightedID(const QString &stableID);
    const QString &keyboardHighlightedID() const { return m_highlightID; }

    // The view is as tall as its rows, up to the cap, and eases between heights while shown.
    void setHeightCap(int cap);
    int heightCap() const { return m_cap; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Back to the top, eased.
    void scrollToTop();
    // A row's rect in viewport coordinates.
    QRectF rowRect(qsizetype index) const;

    // The field over the new-folder row, shown while that row is listed.
    PanelLineEdit *newFolderField() const { return m_newFolderField; }
    // Empties the field and puts the cursor in it, if the field is on screen.
    void beginNewFolder();
    // The folder's name becomes a field in its header; Return renames, Escape gives up. The field
    // follows the header across rebuilds and scrolls and goes with the folder.
    void startRenaming(const QUuid &folderID);
    // Only while renaming.
    InPlaceNameField *renameField() const { return m_renameField; }

    // The secondary-click menu of the row under `viewportPoint`; none where a row offers none
    // (edit-mode headers, rows that are not tabs or folders, a tab with nowhere to go).
    QMenu *createContextMenu(const QPointF &viewportPoint);

    bool isDragging() const { return m_drag.has_value(); }
    std::optional<DropTarget> litLine() const { return m_drag ? m_drag->line : std::nullopt; }
    std::optional<DropTarget> litZone() const { return m_drag ? m_drag->zone : std::nullopt; }
    const DragPreviewLabel *previewLabel() const { return m_label; }
    qreal scrollSpeed() const { return m_scrollSpeed; }
    // The row under the last pointer position, if any.
    std::optional<qsizetype> hoveredRow() const { return m_hovered; }

signals:
    // A row that stands for a tab was clicked; the panel opens it.
    void tabTapped(const TabItem &tab);
    // The hint card's button.
    void createFolderRequested();
    // The button under "No results".
    void createFolderFromSearchRequested();
    void newFolderSubmitted(const QString &typedName);
    void newFolderCancelled();
    // The view's own height changed: the panel and its window follow.
    void heightChanged();
    // After setRows(), and after the keyboard highlight moved: what a screen reader follows.
    void rowsReplaced();
    void keyboardHighlightMoved();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Press {
        QPointF point; // viewport coordinates
        Qt::KeyboardModifiers modifiers;
        ListRow row;
        RowKey key; // found again after a rebuild
    };
    struct Drag {
        QStringList stableIDs;         // a tab drag
        std::optional<QUuid> folderID; // a folder drag
        QString label;
        std::optional<DropTarget> line;
        std::optional<DropTarget> zone;
    };

    QPointF toContent(const QPointF &viewportPoint) const;
    bool mayStartDrag(const Press &press) const;
    void startDrag(const Press &press);
    void followPointer(const QPointF &viewportPoint);
    void updateHover();
    void updateSelectionLooks();
    void lightTargets(const std::optional<DropTarget> &line, const std::optional<DropTarget> &zone);
    void forgetDarkTargets();
    void updateRow(std::optional<qsizetype> index);
    void updateAutoScroll(const QPointF &viewportPoint);
    void autoScrollTick();
    void finishDrag(bool drop);
    void applyDrop(const Drag &drag);
    void tap(const Press &press);
    void animateScroll(int value, int durationMs, QEasingCurve::Type curve);
    void updateScrollRange();
    void updateContentHeight();
    void applyHeight(qreal shownContentHeight);
    void placeFields();
    void commitRename();
    void endRenaming();
    std::optional<qsizetype> renamedHeader() const;
    bool tapButton(const ListRow &row, const QPointF &contentPoint);
    bool isOverButton(const ListRow &row, const QPointF &contentPoint) const;

    void paintRow(QPainter &painter, const ListRows &rows, const ListRow &row, const QRectF &rect,
                  bool hovered) const;
    void paintDropRow(QPainter &painter, const ListRows &rows, const ListRow &row,
                      const QRectF &rect) const;
    void paintLitShape(QPainter &painter, const QRectF &shape, qreal lit) const;
    bool isLit(const DropTarget &target) const;
    Qt::CursorShape cursorOver(const ListRow &row, qreal x) const;
    const Thumbnail &thumbnailFor(const QUrl &url) const;

    PanelContext m_context;
    ListRows m_rows;
    RowTransition m_transition;
    std::optional<int> m_nextTransitionMs;
    QString m_highlightID;
    std::optional<QPointF> m_pointer; // last pointer position in the viewport
    std::optional<qsizetype> m_hovered;
    LookFades m_looks;
    QString m_hoveredTab;           // its hover look is on
    QSet<QString> m_shownSelection; // their selected looks are on
    QList<DropTarget> m_litTargets; // lit, or easing out
    std::optional<Press> m_press;
    std::optional<Drag> m_drag;
    QPointer<DragPreviewLabel> m_label;
    QTimer m_scrollTimer;
    qreal m_scrollSpeed = 0;
    qreal m_scrollOffset = 0;
    mutable QHash<QUrl, std::shared_ptr<Thumbnail>> m_thumbnails;
    QPropertyAnimation m_scrollAnimation;
    int m_cap;
    int m_contentHeight = 0;
    int m_height;
    QVariantAnimation m_heightAnimation;
    PanelLineEdit *m_newFolderField;
    InPlaceNameField *m_renameField = nullptr;
    QUuid m_renamedFolder;
};
