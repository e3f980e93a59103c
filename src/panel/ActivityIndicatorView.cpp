#include "panel/ActivityIndicatorView.h"

#include "ui/Style.h"

#include <QPainter>
#include <QVariantAnimation>

namespace {
constexpr int spokes = 12;
}

ActivityIndicatorView::ActivityIndicatorView(QWidget *parent)
    : QWidget(parent)
    , m_rotation(new QVariantAnimation(this)) {
    setFixedSize(sizeHint());
    m_rotation->setStartValue(0);
    m_rotation->setEndValue(spokes);
    m_rotation->setDuration(1000);
    m_rotation->setLoopCount(-1);
    connect(m_rotation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        const int step = value.toInt() % spokes;
        if (step != m_step) {
            m_step = step;
            update();
        }
    });
}

void ActivityIndicatorView::showEvent(QShowEvent *) {
    m_rotation->start();
}

void ActivityIndicatorView::hideEvent(QHideEvent *) {
    // A hidden spinner costs no wake-ups.
    m_rotation->stop();
}

void ActivityIndicatorView::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal radius = width() / 2.0;
    for (int i = 0; i < spokes; ++i) {
        // The leading spoke is darkest; the ones behind it fade out.
        const int age = (m_step - i + spokes) % spokes;
        const qreal opacity = 1.0 - 0.75 * age / (spokes - 1);
        painter.setPen(QPen(Style::color(Style::Role::Secondary, palette(), opacity), 2,
                            Qt::SolidLine, Qt::RoundCap));
        painter.save();
        painter.rotate(360.0 * i / spokes);
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius + 1));
        painter.restore();
    }
}
