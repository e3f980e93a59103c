#pragma once

#include "panel/model/ListRows.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QSet>

class RowListView;

// One thing a screen reader can read or act on in the painted list: a row, or the painted button
// a row carries (the hint card's, "Clear", the edit-mode trash, a closed row's remove button, the
// no-results create button). Known by what it stands for, so it survives rebuilds.
struct RowPart {
    RowKey row;
    bool isButton = false;

    friend bool operator==(const RowPart &, const RowPart &) = default;
};

inline size_t qHash(const RowPart &part, size_t seed = 0) {
    return qHashMulti(seed, part.row, part.isButton);
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
    struct Child {
        RowPart part;
        QWidget *field = nullptr; // a name being typed: the field stands for its row
    };

    RowListView *view() const;
    QList<Child> children() const;
    QAccessibleInterface *interfaceFor(const Child &child) const;
    QAccessibleInterface *interfaceFor(const RowPart &part) const;
    void rowsReplaced();
    void highlightMoved();
    void selectionChanged();
    void sendStateChange(const RowPart &part, QAccessible::State changed);
    QHash<QUuid, bool> folderExpansion() const;

    mutable QHash<RowPart, QAccessible::Id> m_ids;
    QSet<QString> m_selection;
    QHash<QUuid, bool> m_expanded;
};
