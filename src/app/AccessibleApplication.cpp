#include "app/AccessibleApplication.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace {

QAccessibleInterface *applicationFactory(const QString &className, QObject *object) {
    if (object == qApp && className == QLatin1String("QApplication"))
        return new AccessibleApplication;
    // A plain widget reads as a filler; the panel is the window a reader announces.
    if (className == QLatin1String("PanelPopover"))
        return new QAccessibleWidget(qobject_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

void AccessibleApplication::install() {
    QAccessible::installFactory(applicationFactory);
}

// Qt's rule, plus popups while they are shown.
QList<QAccessibleInterface *> AccessibleApplication::windows() {
    QList<QAccessibleInterface *> found;
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        const bool isPopup = window->type() == Qt::Popup;
        if (window->type() == Qt::Desktop || (isPopup && !window->isVisible()))
            continue;
        QAccessibleInterface *root = window->accessibleRoot();
        if (root && root->object())
            found.append(root);
    }
    return found;
}

int AccessibleApplication::childCount() const {
    return int(windows().size());
}

QAccessibleInterface *AccessibleApplication::child(int index) const {
    return windows().value(index);
}

int AccessibleApplication::indexOfChild(const QAccessibleInterface *child) const {
    return int(windows().indexOf(child));
}
