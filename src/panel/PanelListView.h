#pragma once

#include <QEasingCurve>
#include <QScrollArea>

class QPropertyAnimation;
class QVariantAnimation;

// The panel's scrolling list. It is as tall as its content, up to a cap, and eases between
// heights when the content grows or shrinks; it scrolls a row to its centre for the keyboard.
class PanelListView : public QScrollArea {
    Q_OBJECT
public:
    // `contentWidth`: the width the content is laid out at (the panel's), for wrapped text.
    PanelListView(QWidget *content, int contentWidth, QWidget *parent = nullptr);

    void setHeightCap(int cap);
    int heightCap() const { return m_cap; }
    // The content's measured height; 0 until measured.
    int contentHeight() const { return m_contentHeight; }
    // Measures the content again; the list eases to the new height while shown.
    void remeasure();

    // Back to the top ("scrollTop"), eased.
    void scrollToTop();
    // Centres the row vertically, eased out over 0.12 s.
    void scrollToCentre(const QWidget *row);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // The list's own height changed: the panel and its window follow.
    void heightChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void animateScroll(int value, int durationMs, QEasingCurve::Type curve);
    void applyHeight(qreal shownContentHeight);

    int m_contentWidth;
    int m_cap;
    int m_contentHeight = 0;
    int m_height;
    bool m_remeasurePending = false;
    QVariantAnimation *m_heightAnimation;
    QPropertyAnimation *m_scrollAnimation;
};
