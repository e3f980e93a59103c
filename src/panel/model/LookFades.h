#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QVariantAnimation;

// Looks that turn on and off (a tab row hovered, selected, the selection marks shown) eased
// between 0 and 1, each over its own duration. Only the looks that are on or easing are held,
// and an animation lives only while its look eases, so an idle list has no timer.
class LookFades : public QObject {
    Q_OBJECT
public:
    explicit LookFades(QObject *parent = nullptr);

    // Eases `look` towards on (1) or off (0); without `animated` it jumps.
    void set(const QString &look, bool on, int durationMs, bool animated);
    // 0 for a look never turned on.
    qreal value(const QString &look) const { return m_values.value(look); }
    bool isEasing() const { return !m_running.isEmpty(); }

signals:
    // The value of `look` changed: repaint what shows it.
    void advanced(const QString &look);

private:
    void settle(const QString &look, qreal value);

    QHash<QString, qreal> m_values;
    QHash<QString, QVariantAnimation *> m_running;
};
