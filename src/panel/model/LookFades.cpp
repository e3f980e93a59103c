#include "panel/model/LookFades.h"

#include <QVariantAnimation>

#include <cmath>

LookFades::LookFades(QObject *parent)
    : QObject(parent) {
}

void LookFades::set(const QString &look, bool on, int durationMs, bool animated) {
    const qreal target = on ? 1 : 0;
    if (QVariantAnimation *running = m_running.take(look)) {
        running->stop();
        running->deleteLater();
    }
    const qreal current = value(look);
    if (current == target || !animated || durationMs <= 0) {
        settle(look, target);
        return;
    }
    auto *animation = new QVariantAnimation(this);
    // From partway, the rest of the way takes its share of the time.
    animation->setDuration(std::max(1, int(std::lround(durationMs * std::abs(target - current)))));
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    animation->setStartValue(current);
    animation->setEndValue(target);
    connect(animation, &QVariantAnimation::valueChanged, this, [this, look](const QVariant &v) {
        m_values.insert(look, v.toReal());
        emit advanced(look);
    });
    connect(animation, &QAbstractAnimation::finished, this, [this, look, animation, target] {
        if (m_running.value(look) != animation)
            return;
        m_running.remove(look);
        animation->deleteLater();
        settle(look, target);
    });
    m_running.insert(look, animation);
    animation->start();
}

void LookFades::settle(const QString &look, qreal value) {
    if (value == 0)
        m_values.remove(look);
    else
        m_values.insert(look, value);
    emit advanced(look);
}
