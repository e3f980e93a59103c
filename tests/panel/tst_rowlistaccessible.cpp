// A screen reader found the painted list empty: no rows, no names, no way to press a folder or
// hear the highlight move. These read the panel through QAccessible as the AT-SPI bridge does.

#include "panel/MenuBarView.h"
#include "panel/PaintedRows.h"
#include "panel/PanelLineEdit.h"
#include "panel/PlainTextButton.h"
#include "panel/RowListAccessible.h"
#include "panel/RowListView.h"
#include "panel/SearchFieldView.h"
#include "panel/SymbolButton.h"
#include "support/PanelTestContext.h"

#include <QAccessible>
#include <QApplication>
#include <QProcess>
#include <QTest>

namespace {

struct Heard {
    QAccessible::Event type;
    QString name;
};
QList<Heard> heard;

void listen(QAccessibleEvent *event) {
    const QAccessibleInterface *source = event->accessibleInterface();
    heard.append({event->type(), source ? source->text(QAccessible::Name) : QString()});
}

bool wasHeard(QAccessible::Event type, const QString &name) {
    return std::any_of(heard.cbegin(), heard.cend(), [&](const Heard &event) {
        return event.type == type && event.name == name;
    });
}

// "Name (role)" per child, in reading order.
QStringList childrenOf(QAccessibleInterface *list) {
    QStringList read;
    for (int i = 0; i < list->childCount(); ++i) {
        QAccessibleInterface *child = list->child(i);
        read.append(
            QStringLiteral("%1 (%2)").arg(child->text(QAccessible::Name)).arg(child->role()));
    }
    return read;
}

QAccessibleInterface *childNamed(QAccessibleInterface *list, const QString &name) {
    for (int i = 0; i < list->childCount(); ++i) {
        if (list->child(i)->text(QAccessible::Name) == name)
            return list->child(i);
    }
    return nullptr;
}

void act(QAccessibleInterface *part, const QString &action) {
    QVERIFY(part);
    QVERIFY2(part->actionInterface()->actionNames().contains(action), qPrintable(action));
    part->actionInterface()->doAction(action);
}

} // namespace

class RowListAccessibleTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PanelTestContext> m_env;
    std::unique_ptr<MenuBarView> m_view;
    QAccessibleInterface *m_list = nullptr;
    QProcess m_bus;

private slots:
    void initTestCase() {
        // Qt only sends events while its AT-SPI bridge is on: it needs the session's
        // accessibility bus, as on a desktop where a screen reader runs.
        m_bus.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"), {"--launch-immediately"});
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
        RowListAccessible::install();
        QAccessible::installUpdateHandler(listen);
    }
    void cleanupTestCase() {
        m_bus.terminate();
        m_bus.waitForFinished();
    }
    void init() {
        m_env = std::make_unique<PanelTestContext>();
        m_env->setOpenTabs(
            {PanelTestContext::tab("a", "Roadmap"), PanelTestContext::tab("b", "UI design", true)});
        m_env->makeFolders({{"Clients", {"a"}}});
        m_env->recentlyClosedStore.recordClosed({PanelTestContext::tab("z", "Old plan")}, {});
        m_view = std::make_unique<MenuBarView>(m_env->context);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
        m_list = QAccessible::queryAccessibleInterface(m_view->list());
        heard.clear();
    }
    void cleanup() {
        m_view.reset();
        m_env.reset();
    }

    // Rows read out of order or as the wrong kind of thing, a point on a row found another, and
    // a tab could not be selected nor a closed tab forgotten without a mouse. (Pressing a
    // header, the descriptions and the states are the AT-SPI journey's.)
    void everyRowReadsAndActs() {
        using R = QAccessible::Role;
        QCOMPARE(m_list->role(), QAccessible::List);
        const auto item = [](const char *name, R role) {
            return QStringLiteral("%1 (%2)").arg(QLatin1String(name)).arg(role);
        };
        QCOMPARE(childrenOf(m_list),
                 QStringList({item("Clients", R::ListItem), item("Roadmap", R::ListItem),
                              item("Ungrouped", R::StaticText), item("UI design", R::ListItem),
                              item("Recently Closed", R::StaticText),
                              item("Clear Recently Closed", R::Button),
                              item("Reopen Old plan", R::ListItem),
                              item("Remove Old plan from Recently Closed", R::Button)}));
        QAccessibleInterface *folder = childNamed(m_list, "Clients");
        QCOMPARE(m_list->childAt(folder->rect().center().x(), folder->rect().center().y()), folder);

        act(childNamed(m_list, "UI design"), QAccessibleActionInterface::toggleAction());
        QCOMPARE(m_env->selectionStore.selectedIDs(), QSet<QString>{"b"});
        QVERIFY(childNamed(m_list, "UI design")->state().selected);
        act(childNamed(m_list, "Remove Old plan from Recently Closed"),
            QAccessibleActionInterface::pressAction());
        QVERIFY(m_env->recentlyClosedStore.recentTabs().isEmpty());
        // The row of a name being typed is its field.
        m_view->startCreatingFolder();
        QVERIFY(childNamed(m_list, "New folder name"));
    }

    // A screen reader stayed silent while the highlight moved, a tab was selected or a folder
    // folded, and Ctrl+Space did not select the highlighted tab.
    void theHighlightIsTheFocus() {
        QTest::keyClick(m_view->searchField()->field(), Qt::Key_Down);
        QVERIFY(wasHeard(QAccessible::Focus, "Clients"));
        QTest::keyClick(m_view->searchField()->field(), Qt::Key_Down);
        QVERIFY(wasHeard(QAccessible::Focus, "Roadmap"));
        QCOMPARE(m_list->focusChild()->text(QAccessible::Name), QStringLiteral("Roadmap"));
        QTest::keyClick(m_view->searchField()->field(), Qt::Key_Space, Qt::ControlModifier);
        QCOMPARE(m_env->selectionStore.selectedIDs(), QSet<QString>{"a"});
        QVERIFY(wasHeard(QAccessible::SelectionAdd, "Roadmap"));
        m_env->folderStore.toggleExpanded(m_env->folderStore.folders().first().id);
        m_view->flushRebuild();
        QVERIFY(wasHeard(QAccessible::ObjectReorder, "Tabs"));
        QVERIFY(wasHeard(QAccessible::StateChanged, "Clients"));
    }

    // Folders and the painted buttons were out of the keyboard's reach: nothing could be folded,
    // deleted, cleared or created without a mouse, or Delete in the field deleted a folder.
    // (Home, End, the arrows on a header, F2 and Return on a closed row are the AT-SPI journey's.)
    void theKeysReachFoldersAndButtons() {
        RowListView *list = m_view->list();
        const auto press = [&](int key) {
            QTest::keyClick(list, Qt::Key(key));
            m_view->flushRebuild();
        };
        const auto focused = [&] { return m_list->focusChild()->text(QAccessible::Name); };
        press(Qt::Key_End);
        QCOMPARE(focused(), QStringLiteral("Reopen Old plan"));
        press(Qt::Key_Up);
        QCOMPARE(focused(), QStringLiteral("Clear Recently Closed"));
        QVERIFY(m_list->focusChild()->state().focused);
        press(Qt::Key_Down);
        press(Qt::Key_Delete);
        QVERIFY(m_env->recentlyClosedStore.recentTabs().isEmpty());
        press(Qt::Key_Home);
        press(Qt::Key_Down);
        QCOMPARE(focused(), QStringLiteral("Roadmap"));
        press(Qt::Key_Left); // from a folder's tab to its header
        QCOMPARE(focused(), QStringLiteral("Clients"));
        press(Qt::Key_Return);
        QVERIFY(m_list->focusChild()->state().collapsed);

        // Delete is the field's in the normal list, the folder's only in edit mode.
        press(Qt::Key_Delete);
        QCOMPARE(m_env->folderStore.folders().size(), 1);
        m_view->editButton()->click();
        m_view->flushRebuild();
        press(Qt::Key_Home);
        press(Qt::Key_Delete);
        QVERIFY(m_env->folderStore.folders().isEmpty());
        m_view->doneButton()->click();
        m_view->flushRebuild();
        press(Qt::Key_Home);
        QCOMPARE(focused(), PaintedRows::firstFolderText());
        press(Qt::Key_Return);
        QVERIFY(list->newFolderField()->hasFocus());
    }

    // The no-results text and its button were silent, or the button read as usable under a
    // name already taken.
    void searchResultsAndTheirButton() {
        m_view->setSearchText(QStringLiteral("clients"));
        m_view->flushRebuild();
        QAccessibleInterface *create = childNamed(m_list, "Create folder \"clients\"");
        QVERIFY(create);
        // A folder of that name exists: the button is there but does nothing.
        QVERIFY(create->state().disabled);
        QVERIFY(childNamed(m_list, "No results for \"clients\""));
    }

    // An icon-only button read without a name, Tab skipped a control, or Escape closed the
    // panel over a query instead of clearing it.
    void thePanelsControlsAreNamedAndReachedByTab() {
        for (const SymbolButton *button : m_view->findChildren<SymbolButton *>()) {
            QVERIFY(!button->accessibleName().isEmpty());
            QCOMPARE(button->toolTip(), button->accessibleName());
        }
        m_view->setSearchText(QStringLiteral("x"));
        m_view->searchField()->focusField();
        QStringList reached;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached.append(QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                               ->text(QAccessible::Name));
        }
        QCOMPARE(reached, QStringList({"Clear Search", "Edit", "Tabs", "Settings", "New Folder"}));
        // Escape clears the query, then closes the panel.
        m_view->searchField()->focusField();
        QTest::keyClick(m_view->searchField()->field(), Qt::Key_Escape);
        QCOMPARE(m_view->searchText(), QString());
        QCOMPARE(m_env->closeRequests, 0);
        QTest::keyClick(m_view->searchField()->field(), Qt::Key_Escape);
        QCOMPARE(m_env->closeRequests, 1);
    }
};

QTEST_MAIN(RowListAccessibleTest)
#include "tst_rowlistaccessible.moc"
