#include "panel/PanelListView.h"

#include "panel/model/ListHeight.h"

#include <QEvent>
#include <QLayout>
#include <QPropertyAnimation>
#include <QScrollBar>

#include <algorithm>

PanelListView::PanelListView(QWidget *content, int contentWidth, QWidget *parent)
    : QScrollArea(parent)
    , m_contentWidth(contentWidth)
    , m_cap(ListHeight::cap(std::nullopt))
    , m_height(m_cap)
    , m_heightAnimation(new QVariantAnimation(this))
    , m_scrollAnimation(new QPropertyAnimation(verticalScrollBar(), "value", this)) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setWidgetResizable(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    viewport()->setAutoFillBackground(false);
    content->setAutoFillBackground(false);
    setWidget(content);
    content->installEventFilter(this);

    m_heightAnimation->setDuration(150);
    m_heightAnimation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_heightAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { applyHeight(value.toReal()); });
    setFixedHeight(m_height);
}

void PanelListView::setHeightCap(int cap) {
    if (cap == m_cap)
        return;
    m_cap = cap;
    applyHeight(m_contentHeight);
}

void PanelListView::remeasure() {
    QWidget *content = widget();
    if (QLayout *layout = content->layout())
        layout->activate();
    // Measured at the panel's width: the viewport may not be laid out yet when the list appears.
    const int measured = content->hasHeightForWidth() ? content->heightForWidth(m_contentWidth)
                                                      : content->sizeHint().height();
    if (measured == m_contentHeight)
        return;
    const int previous = m_contentHeight;
    m_contentHeight = measured;
    m_heightAnimation->stop();
    // The first measurement and changes nobody sees take effect at once.
    if (previous <= 0 || !isVisible()) {
        applyHeight(measured);
        return;
    }
    m_heightAnimation->setStartValue(qreal(previous));
    m_heightAnimation->setEndValue(qreal(measured));
    m_heightAnimation->start();
}

void PanelListView::applyHeight(qreal shownContentHeight) {
    const int height = ListHeight::height(m_cap, qRound(shownContentHeight));
    if (height == m_height)
        return;
    m_height = height;
    setFixedHeight(height);
    emit heightChanged();
}

QSize PanelListView::sizeHint() const {
    return {QScrollArea::sizeHint().width(), m_height};
}

void PanelListView::scrollToTop() {
    animateScroll(0, 250, QEasingCurve::InOutQuad);
}

void PanelListView::scrollToCentre(const QWidget *row) {
    if (!row || !widget()->isAncestorOf(row))
        return;
    const int rowCentre = row->mapTo(widget(), QPoint(0, row->height() / 2)).y();
    animateScroll(rowCentre - viewport()->height() / 2, 120, QEasingCurve::OutCubic);
}

void PanelListView::animateScroll(int value, int durationMs, QEasingCurve::Type curve) {
    QScrollBar *bar = verticalScrollBar();
    const int target = std::clamp(value, bar->minimum(), bar->maximum());
    m_scrollAnimation->stop();
    if (target == bar->value())
        return;
    m_scrollAnimation->setDuration(durationMs);
    m_scrollAnimation->setEasingCurve(curve);
    m_scrollAnimation->setStartValue(bar->value());
    m_scrollAnimation->setEndValue(target);
    m_scrollAnimation->start();
}

bool PanelListView::eventFilter(QObject *watched, QEvent *event) {
    // Rows that change height on their own (a wrapped hint, an expanding section) re-size the
    // list without a rebuild.
    if (watched == widget() && event->type() == QEvent::LayoutRequest && !m_remeasurePending) {
        m_remeasurePending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_remeasurePending = false;
                remeasure();
            },
            Qt::QueuedConnection);
    }
    return QScrollArea::eventFilter(watched, event);
}
