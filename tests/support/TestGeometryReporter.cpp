#include "support/TestGeometryReporter.h"

#include "app/AppDelegate.h"
#include "app/PanelPopover.h"
#include "app/StatusItem.h"
#include "hotkey/SpotlightSearchController.h"
#include "panel/RowListView.h"
#include "stores/ClosedTab.h"
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

QString textOf(const QWidget *widget) {
    const QVariant text = widget->property("text");
    if (text.canConvert<QString>() && !text.toString().isEmpty())
        return text.toString();
    if (!widget->toolTip().isEmpty())
        return widget->toolTip();
    return widget->accessibleName();
}

QJsonObject widgetObject(const QWidget *widget) {
    return {
        {"class", widget->metaObject()->className()},
        {"text", textOf(widget)},
        {"rect", rectObject(globalRect(widget, widget->rect()))},
        {"visibleRect", rectObject(globalRect(widget, widget->visibleRegion().boundingRect()))}};
}

// The list's rows are painted, not widgets: they are reported under the names of the classes
// that paint them, with the texts they show.
void appendRows(const RowListView *list, QJsonArray &widgets) {
    const QWidget *viewport = list->viewport();
    const ListRows &rows = list->rows();
    for (qsizetype i = 0; i < rows.rows().size(); ++i) {
        const ListRow &row = rows.rows()[i];
        QJsonObject object;
        switch (row.kind) {
        case RowKind::TabRow: {
            const TabItem &tab = rows.tabs()[row.item];
            object = {
                {"class", "TabRowView"}, {"text", tab.displayTitle()}, {"id", tab.stableID()}};
            break;
        }
        case RowKind::ClosedRow: {
            const ClosedTab &closed = rows.closedTabs()[row.item];
            object = {{"class", "ClosedTabRowView"},
                      {"text", displayTitle(closed.title)},
                      {"id", closed.stableID}};
            break;
        }
        case RowKind::FolderHeader:
            object = {{"class", "FolderSectionView"},
                      {"text", rows.folders().value(row.index).folder.name}};
            break;
        default:
            continue;
        }
        const QRect rect = list->rowRect(i).toAlignedRect();
        object.insert("rect", rectObject(globalRect(viewport, rect)));
        object.insert("visibleRect", rectObject(globalRect(viewport, rect & viewport->rect())));
        widgets.append(object);
    }
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
    case QEvent::Paint:
        // The list's rows move without any widget moving: after a scroll or a rebuild.
        if (qobject_cast<const RowListView *>(watched->parent()))
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
            if (const auto *list = qobject_cast<const RowListView *>(widget);
                list && list->isVisible())
                appendRows(list, widgets);
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
