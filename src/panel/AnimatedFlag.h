#pragma once

#include <QPointer>

class QVariantAnimation;
class QWidget;

// A boolean look state that eases between off (0) and on (1) and repaints its widget on every
// step. The animation object is only made on the first animated change, so thousands of rows
// that never change cost nothing.
class AnimatedFlag {
public:
    AnimatedFlag(QWidget *owner, int durationMs);

    bool isOn() const { return m_on; }
    // 0 when off, 1 when on, in between while easing.
    qreal progress() const { return m_progress; }

    // Eases to the new value; a hidden widget jumps, since nobody would see the easing.
    void set(bool on);
    void jump(bool on);

private:
    QWidget *m_owner;
    int m_durationMs;
    bool m_on = false;
    qreal m_progress = 0;
    QPointer<QVariantAnimation> m_animation;
};
