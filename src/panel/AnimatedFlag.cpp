#include "panel/AnimatedFlag.h"

#include <QVariantAnimation>
#include <QWidget>

AnimatedFlag::AnimatedFlag(QWidget *owner, int durationMs)
    : m_owner(owner)
    , m_durationMs(durationMs) {
}

void AnimatedFlag::set(bool on) {
    if (on == m_on)
        return;
    if (!m_owner->isVisible()) {
        jump(on);
        return;
    }
    m_on = on;
    if (!m_animation) {
        m_animation = new QVariantAnimation(m_owner);
        m_animation->setEasingCurve(QEasingCurve::InOutQuad);
        QObject::connect(m_animation, &QVariantAnimation::valueChanged, m_owner,
                         [this](const QVariant &value) {
                             m_progress = value.toReal();
                             m_owner->update();
                         });
    }
    m_animation->stop();
    m_animation->setStartValue(m_progress);
    m_animation->setEndValue(on ? 1.0 : 0.0);
    // A change that reverses a running one only travels the distance already covered.
    m_animation->setDuration(qMax(1, int(m_durationMs * qAbs((on ? 1.0 : 0.0) - m_progress))));
    m_animation->start();
}

void AnimatedFlag::jump(bool on) {
    if (m_animation)
        m_animation->stop();
    m_on = on;
    m_progress = on ? 1.0 : 0.0;
    m_owner->update();
}
