#include "support/TestGeometryReporter.h"

#include "app/AppDelegate.h"
#include "app/PanelPopover.h"
#include "app/StatusItem.h"
#include "dragdrop/FolderHeaderDragSourceView.h"
#include "hotkey/SpotlightSearchController.h"
#include "panel/ClosedTabRowView.h"
#include "panel/FolderSectionView.h"
#include "panel/TabRowView.h"
#include "stores/ClosedTab.h"
#include "stores/TabFolder.h"
#include "tabs/TabItem.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace {

QJsonObject rectObject(const QRect &rect) {
    return {{"x", rect.x()}, {"y", rect.y()}, {"w", rect.width()}, {"h", rect.height()}};
}

QRect globalRect(const QWidget *widget, const QRect &local) {
    return local.translated(widget->mapToGlobal(QPoint(0, 0)));
}

// Folder headers and rows paint their texts; name them after what they show.
QString textOf(const QWidget *widget) {
    if (const auto *row = qobject_cast<const TabRowView *>(widget))
        return row->tab().displayTitle();
    if (const auto *row = qobject_cast<const ClosedTabRowView *>(widget))
        return displayTitle(row->closedTab().title);
    if (const auto *section = qobject_cast<const FolderSectionView *>(widget))
        return section->folder().name;
    if (const auto *section = qobject_cast<const FolderSectionView *>(widget->parentWidget());
        section && static_cast<const QWidget *>(section->headerDragSource()) == widget)
        return section->folder().name;
    const QVariant text = widget->property("text");
    if (text.canConvert<QString>() && !text.toString().isEmpty())
        return text.toString();
    if (!widget->toolTip().isEmpty())
        return widget->toolTip();
    return widget->accessibleName();
}

QJsonObject widgetObject(const QWidget *widget) {
    QJsonObject object{
        {"class", widget->metaObject()->className()},
        {"text", textOf(widget)},
        {"rect", rectObject(globalRect(widget, widget->rect()))},
        {"visibleRect", rectObject(globalRect(widget, widget->visibleRegion().boundingRect()))}};
    if (const auto *row = qobject_cast<const TabRowView *>(widget))
        object.insert("id", row->tab().stableID());
    if (const auto *row = qobject_cast<const ClosedTabRowView *>(widget))
        object.insert("id", row->closedTab().stableID);
    return object;
}

// The command line's QCoreApplication comes first and is passed over; the QApplication that
// follows it gets the reporter.
void installGeometryReporter() {
    const QString path = qEnvironmentVariable("NOOKERY_TEST_GEOMETRY_FILE");
    if (!path.isEmpty() && qobject_cast<QApplication *>(QCoreApplication::instance()))
        new TestGeometryReporter(path, QCoreApplication::instance());
}
Q_COREAPP_STARTUP_FUNCTION(installGeometryReporter)

} // namespace

TestGeometryReporter::TestGeometryReporter(QString path, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path)) {
    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &TestGeometryReporter::write);
    qApp->installEventFilter(this);
    m_pending.start();
}

bool TestGeometryReporter::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        if (watched->isWidgetType())
            m_pending.start();
        break;
    default:
        break;
    }
    return false;
}

void TestGeometryReporter::write() const {
    const AppDelegate *delegate = AppDelegate::shared();
    const PanelPopover *popover = delegate ? delegate->popover() : nullptr;
    const StatusItem *statusItem = delegate ? delegate->statusItem() : nullptr;
    QJsonArray widgets;
    if (popover && popover->isVisible()) {
        for (const QWidget *widget : popover->findChildren<QWidget *>()) {
            if (widget->isVisible())
                widgets.append(widgetObject(widget));
        }
    }
    const QWidget *focus = QApplication::focusWidget();
    const QJsonObject report{
        {"tray", rectObject(statusItem ? statusItem->geometry() : QRect())},
        {"popoverVisible", popover && popover->isVisible()},
        // Mapped, activated and holding the keyboard and pointer: ready for input.
        {"popoverActive", popover && popover->isActiveWindow()},
        {"shortcutRegistered", SpotlightSearchController::shared()->isRegistered()},
        {"popover", rectObject(popover ? popover->geometry() : QRect())},
        {"focus", focus ? QString::fromLatin1(focus->metaObject()->className()) : QString()},
        {"focusParent", focus && focus->parentWidget()
                            ? QString::fromLatin1(focus->parentWidget()->metaObject()->className())
                            : QString()},
        {"widgets", widgets}};
    QSaveFile file(m_path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(report).toJson(QJsonDocument::Indented));
        file.commit();
    }
}
