#pragma once

#include "panel/ListController.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QSet>

class RowListView;

inline size_t qHash(const RowHit &hit, size_t seed = 0) {
    return qHashMulti(seed, hit.row, int(hit.part));
}

// The list as a screen reader reads it: one child per row a user can act on or read, the
// buttons painted on rows as children of their own, and the text field of a name being typed.
// It announces a moved keyboard highlight as focus, selection and expansion as state changes,
// and every rebuild as a change of its children.
class RowListAccessible : public QAccessibleWidget {
public:
    explicit RowListAccessible(RowListView *view);
    ~RowListAccessible() override;

    // Makes Qt answer with this for every RowListView.
    static void install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

private:
    // A row, or the painted button a row carries (the hint card's, "Clear", the edit-mode
    // trash, a closed row's remove button, the no-results create button): known by what it
    // stands for, so it survives rebuilds. A field being typed in stands for its row.
    struct Child {
        RowHit part;
        QWidget *field = nullptr;
    };

    RowListView *view() const;
    QList<Child> children() const;
    QAccessibleInterface *interfaceFor(const Child &child) const;
    QAccessibleInterface *interfaceFor(const RowHit &part) const;
    void rowsReplaced();
    void highlightMoved(const std::optional<RowKey> &row);
    void selectionChanged();
    void sendStateChange(const RowKey &row, QAccessible::State changed);
    QHash<QUuid, bool> folderExpansion() const;

    mutable QHash<RowHit, QAccessible::Id> m_ids;
    QSet<QString> m_selection;
    QHash<QUuid, bool> m_expanded;
};
