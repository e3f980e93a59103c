#pragma once

#include "panel/AnimatedFlag.h"
#include "panel/PanelContext.h"
#include "panel/Thumbnail.h"
#include "tabs/TabItem.h"

#include <QWidget>

#include <optional>

class QMenu;
class QPainter;
class TabRowDragSourceView;

// What a tab row paints: the list view fills one per visible row, the widget from its own state.
struct TabRowLook {
    QString title;
    bool isActive = false;
    std::optional<QString> folderHint;
    const Thumbnail *thumbnail = nullptr;
    qreal hover = 0;           // 0 to 1 while easing
    qreal selected = 0;        // 0 to 1 while easing
    qreal selectionActive = 0; // 0 to 1 while easing
    bool isSelected = false;
    bool isKeyboardHighlighted = false;
};

// The row that stands for one open tab, in folder sections, the ungrouped section and search
// results. Everything is painted; the only child is the drag source lying over the whole row,
// which turns presses into taps, Ctrl-taps and drags.
class TabRowView : public QWidget {
    Q_OBJECT
public:
    static constexpr int rowHeight = 52;

    // `folderHint` (search results only) names where the tab lives: a folder or "Ungrouped".
    TabRowView(const TabItem &tab, const PanelContext &context,
               std::optional<QString> folderHint = std::nullopt, QWidget *parent = nullptr);

    const TabItem &tab() const { return m_tab; }
    const QString &stableID() const { return m_stableID; }
    const std::optional<QString> &folderHint() const { return m_folderHint; }

    // The row's identity in the scrolling list: "kbtab-" + stable id.
    QString scrollID() const { return scrollID(m_stableID); }
    static QString scrollID(const QString &stableID);

    // The stable id the keyboard cursor is on (empty: none); the panel hands it to every row.
    void setKeyboardHighlightedID(const QString &stableID);

    bool isHovered() const { return m_hovered.isOn(); }
    bool isSelected() const { return m_selected.isOn(); }
    bool isSelectionActive() const { return m_selectionActive.isOn(); }
    bool isKeyboardHighlighted() const { return m_keyboardHighlighted; }

    // What the row paints right now (mid-animation values while easing).
    QColor backgroundColor() const;
    QColor borderColor() const;
    qreal arrowOpacity() const;

    // The secondary-click menu; empty when the tab can be neither moved nor taken out.
    QMenu *createContextMenu(QWidget *parent) const {
        return createContextMenu(m_stableID, m_context, parent);
    }
    static QMenu *createContextMenu(const QString &stableID, const PanelContext &context,
                                    QWidget *parent);

    QSize sizeHint() const override;

    // Paints a row into `rect` (the row's whole band, outer padding included).
    static void paint(QPainter &painter, const QRectF &rect, const TabRowLook &look,
                      const QPalette &palette);

    // Pointer entered or left the row (reported by the drag source).
    void setHovered(bool hovered);
    // A plain click: empties the selection, then opens the tab in Figma.
    void open();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void readSelection(bool animate);
    TabRowLook look() const;
    void attachDragSource();

    TabItem m_tab;
    // Derived from the URL on every call; rows read it on each selection change.
    QString m_stableID;
    QString m_title;
    std::optional<QString> m_folderHint;
    PanelContext m_context;
    Thumbnail m_thumbnail;
    AnimatedFlag m_hovered;
    AnimatedFlag m_selected;
    AnimatedFlag m_selectionActive;
    bool m_keyboardHighlighted = false;
    TabRowDragSourceView *m_dragSource = nullptr;
};
