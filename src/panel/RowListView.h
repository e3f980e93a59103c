#pragma once

#include "panel/PanelContext.h"
#include "panel/Thumbnail.h"
#include "panel/model/ListRows.h"
#include "panel/model/LookFades.h"
#include "panel/model/RowTransition.h"

#include <QAbstractScrollArea>
#include <QPointer>
#include <QPropertyAnimation>
#include <QSet>
#include <QTimer>
#include <QVariantAnimation>
#include <QWindow>

#include <optional>

#include "dragdrop/DragPreviewLabel.h"

class InPlaceNameField;
class ListController;
class PanelLineEdit;
struct RowHit;

// The panel's list as one view: the rows are data (ListRows), painted for the visible part only
// and hit-tested by their geometry. It paints, hit-tests, scrolls and eases; what a press, a
// drag, a menu or a key does is its controller's (ListController), the one place the panel
// changes a store. From a press to its release the view takes every mouse event of the panel's
// window, wherever the pointer goes: other buttons are ignored, and the release ends the press
// or the drag wherever it happens.
class RowListView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit RowListView(const PanelContext &context, QWidget *parent = nullptr);
    ~RowListView() override;

    ListController *controller() const { return m_controller; }

    void setRows(ListRows rows);
    const ListRows &rows() const { return m_rows; }
    const PanelContext &context() const { return m_context; }
    // The rows of the rebuild an action is about to cause are eased in over `durationMs`; an
    // action that changes nothing leaves later rebuilds unanimated.
    void animateNextRows(int durationMs);
    bool isAnimatingRows() const { return m_transition.isRunning(); }
    // The tab rows' hover, selection and selection-mark tints and the lit drop targets, eased.
    const LookFades &looks() const { return m_looks; }
    // Highlights the row and, when it is shown, centres it, eased out over 0.12 s.
    void setKeyboardHighlight(const std::optional<RowKey> &row);
    const std::optional<RowKey> &keyboardHighlight() const { return m_highlight; }

    // The view is as tall as its rows, up to the cap, and eases between heights while shown.
    void setHeightCap(int cap);
    int heightCap() const { return m_cap; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // Back to the top, eased.
    void scrollToTop();
    // A row's rect in viewport coordinates.
    QRectF rowRect(qsizetype index) const;
    // What lies under a point of the viewport, down to the painted button.
    std::optional<RowHit> hitAt(const QPointF &viewportPoint) const;
    // The painted button the row carries, in viewport coordinates: "Clear", the hint card's,
    // create-from-search, a closed row's "xmark", the edit-mode trash.
    std::optional<QRectF> buttonRect(qsizetype index) const;
    // The row's menu under it, its first item active, as the Menu key and a screen reader open
    // it; nothing where the row offers none.
    void showMenuAtRow(const RowKey &row);

    // The field over the new-folder row, shown while that row is listed.
    PanelLineEdit *newFolderField() const { return m_newFolderField; }
    // Empties the field and puts the cursor in it, if the field is on screen.
    void beginNewFolder();
    // The folder's name becomes a field in its header; Return renames, Escape gives up. The field
    // follows the header across rebuilds and scrolls and goes with the folder.
    void startRenaming(const QUuid &folderID);
    // Only while renaming.
    InPlaceNameField *renameField() const { return m_renameField; }

    bool isDragging() const;
    std::optional<DropTarget> litLine() const;
    std::optional<DropTarget> litZone() const;
    const DragPreviewLabel *previewLabel() const { return m_label; }
    qreal scrollSpeed() const { return m_scrollSpeed; }
    // The row under the last pointer position, if any.
    std::optional<qsizetype> hoveredRow() const { return m_hovered; }

signals:
    void newFolderSubmitted(const QString &typedName);
    void newFolderCancelled();
    // The view's own height changed: the panel and its window follow.
    void heightChanged();
    // The width rows are painted at changed (the scroll bar came or went): rows measured for the
    // old width should be measured again.
    void rowWidthChanged();
    // New rows replaced the old ones; row indexes from before mean nothing now.
    void rowsReplaced();
    // The keyboard highlight moved to the row (none: nothing is highlighted).
    void highlightMoved(const std::optional<RowKey> &row);
    // The row under the pointer changed (none: -1).
    void hoverMoved(qsizetype row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointF toContent(const QPointF &viewportPoint) const;
    void holdMouse(bool held);
    bool routeHeldMouse(QMouseEvent *event);
    void followHold();
    void followPointer(const QPointF &viewportPoint);
    void pointerLeft();
    void updateHover();
    void updateLook(const QString &look);
    void updateSelectionLooks();
    void lightTargets(const std::optional<DropTarget> &line, const std::optional<DropTarget> &zone);
    void forgetDarkTargets();
    void updateRow(std::optional<qsizetype> index);
    void updateAutoScroll(const QPointF &viewportPoint);
    void stopAutoScroll();
    void autoScrollTick();
    void animateScroll(int value, int durationMs, QEasingCurve::Type curve);
    void updateScrollRange();
    void updateContentHeight();
    void applyHeight(qreal shownContentHeight);
    void placeFields();
    void commitRename();
    void endRenaming();
    std::optional<qsizetype> renamedHeader() const;
    bool isOverButton(const ListRow &row, const QPointF &contentPoint) const;
    QString toolTipAt(const QPointF &viewportPoint) const;

    bool isKeyboardHighlighted(const ListRows &rows, const ListRow &row) const;
    void paintKeyboardRing(QPainter &painter, const QRectF &button) const;
    void paintRow(QPainter &painter, const ListRows &rows, const ListRow &row, const QRectF &rect,
                  bool hovered) const;
    void paintRowContent(QPainter &painter, const ListRows &rows, const ListRow &row,
                         const QRectF &rect, bool hovered) const;
    bool isLit(const DropTarget &target) const;
    Qt::CursorShape cursorOver(const ListRow &row, qreal x) const;
    Thumbnail thumbnailFor(const QUrl &url) const;

    PanelContext m_context;
    ListController *m_controller;
    ListRows m_rows;
    RowTransition m_transition;
    std::optional<int> m_nextTransitionMs;
    std::optional<RowKey> m_highlight;
    std::optional<QPointF> m_pointer; // last pointer position in the viewport
    std::optional<qsizetype> m_hovered;
    LookFades m_looks;
    QString m_hoverLook;                // the hovered tab row's look, if one is on
    QHash<QString, RowKey> m_hoverRows; // the rows of hover looks on or easing
    QSet<QString> m_shownSelection;     // their selected looks are on
    QList<DropTarget> m_litTargets;     // lit, or easing out
    QPointer<QWindow> m_heldWindow;     // its mouse events come here from press to release
    QPointer<DragPreviewLabel> m_label;
    QTimer m_scrollTimer;
    qreal m_scrollSpeed = 0;
    qreal m_scrollOffset = 0;
    int m_normalListScroll = 0; // kept while the search results are shown
    int m_rowWidth = 0;
    QPropertyAnimation m_scrollAnimation;
    int m_cap;
    int m_contentHeight = 0;
    int m_height;
    QVariantAnimation m_heightAnimation;
    PanelLineEdit *m_newFolderField;
    InPlaceNameField *m_renameField = nullptr;
    QUuid m_renamedFolder;
};
