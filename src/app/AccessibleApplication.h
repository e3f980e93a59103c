#pragma once

#include <QAccessibleObject>

// What a screen reader sees of the program: Qt's application object, except that its windows
// include the panel. Qt leaves popup windows out of the application's children (it takes them for
// menus, announced by focus alone), and the panel is a popup: a reader walking the tree, as Orca
// does, found the application with nothing under it.
class AccessibleApplication : public QAccessibleApplication {
public:
    // Makes Qt answer with this for the application; call before the first window exists.
    static void install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    static QList<QAccessibleInterface *> windows();
};
