#include "panel/model/RowTransition.h"

#include <QHash>

#include <algorithm>

RowTransition::RowTransition(QObject *parent)
    : QObject(parent) {
    m_progress.setStartValue(0.0);
    m_progress.setEndValue(1.0);
    m_progress.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&m_progress, &QVariantAnimation::valueChanged, this, &RowTransition::advanced);
    connect(&m_progress, &QAbstractAnimation::finished, this, [this] {
        release();
        emit advanced();
    });
}

void RowTransition::start(ListRows from, const ListRows &to, int durationMs) {
    m_progress.stop();
    m_from = std::move(from);
    QHash<RowKey, qsizetype> former;
    former.reserve(m_from.rows().size());
    for (qsizetype i = 0; i < m_from.rows().size(); ++i)
        former.insert(m_from.key(m_from.rows()[i]), i);
    m_tops.clear();
    m_formerTops.clear();
    for (const ListRow &row : to.rows()) {
        m_tops.append(row.top);
        const auto found = former.constFind(to.key(row));
        if (found == former.cend()) {
            m_formerTops.append(std::nullopt);
            continue;
        }
        m_formerTops.append(m_from.rows()[*found].top);
        former.erase(found);
    }
    m_gone = former.values();
    std::sort(m_gone.begin(), m_gone.end());
    m_progress.setDuration(durationMs);
    m_progress.start();
}

void RowTransition::stop() {
    m_progress.stop();
    release();
}

// The rows that went are painted no more; their copy goes.
void RowTransition::release() {
    m_from = {};
    m_gone.clear();
    m_tops.clear();
    m_formerTops.clear();
}

bool RowTransition::isRunning() const {
    return m_progress.state() == QAbstractAnimation::Running;
}

QList<RowTransition::Placement> RowTransition::placements() const {
    return placements(m_progress.currentValue().toReal());
}

QList<RowTransition::Placement> RowTransition::placements(qreal progress) const {
    QList<Placement> result;
    result.reserve(m_gone.size() + m_tops.size());
    for (qsizetype row : m_gone)
        result.append({true, row, qreal(m_from.rows()[row].top), 1 - progress});
    for (qsizetype row = 0; row < m_tops.size(); ++row) {
        const std::optional<int> former = m_formerTops[row];
        if (former)
            result.append({false, row, *former + (m_tops[row] - *former) * progress, 1});
        else
            result.append({false, row, qreal(m_tops[row]), progress});
    }
    return result;
}
