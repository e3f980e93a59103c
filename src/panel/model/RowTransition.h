#pragma once

#include "panel/model/ListRows.h"

#include <QList>
#include <QObject>
#include <QVariantAnimation>

#include <optional>

// Eases the painted list from one set of rows to the next. Only the painting follows it: the
// rows themselves (hit-testing, drops, the keyboard) are the new ones from the first frame. A
// row found in both (by its key) moves from its old place to its new one, a new row fades in
// where it lands, a row that went fades out where it was. Once ended, nothing ticks.
class RowTransition : public QObject {
    Q_OBJECT
public:
    struct Placement {
        bool isGone = false; // a row of from(), fading out; else a row of the new rows
        qsizetype row = 0;
        qreal top = 0;
        qreal opacity = 1;

        friend bool operator==(const Placement &, const Placement &) = default;
    };

    // The panel's ease-in-out of 0.15 s (edit mode, a folder opened, closed or deleted), and the
    // default one (the search emptied by its button, recently closed files cleared).
    static constexpr int quickMs = 150;
    static constexpr int defaultMs = 250;

    explicit RowTransition(QObject *parent = nullptr);

    // Eases in and out over `durationMs`.
    void start(ListRows from, const ListRows &to, int durationMs);
    void stop();
    bool isRunning() const;
    // The rows faded out.
    const ListRows &from() const { return m_from; }

    // While running: where the rows are painted at `progress` (0: as before, 1: as now), or
    // now; gone rows first.
    QList<Placement> placements(qreal progress) const;
    QList<Placement> placements() const;

signals:
    // A new frame is due.
    void advanced();

private:
    void release();

    ListRows m_from;
    QList<int> m_tops;                      // the new rows' own tops
    QList<std::optional<int>> m_formerTops; // their tops before, if they were there
    QList<qsizetype> m_gone;                // rows of m_from not among the new rows
    QVariantAnimation m_progress;
};
