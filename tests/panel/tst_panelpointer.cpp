#include "panel/ListController.h"
#include "panel/MenuBarView.h"
#include "panel/RowListView.h"
#include "panel/SearchFieldView.h"
#include "support/PanelTestContext.h"
#include "support/XTestInput.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

namespace {

// The panel in a popup window on a real X display, driven by a real pointer: X and Qt decide
// which widget a press goes to, as they do for a user.
struct PopupPanel {
    explicit PopupPanel(PanelTestContext &c) {
        host.setWindowFlags(Qt::Popup);
        auto *layout = new QVBoxLayout(&host);
        layout->setContentsMargins(0, 0, 0, 0);
        view = new MenuBarView(c.context, &host);
        layout->addWidget(view);
        host.move(200, 100);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
    }
    QPoint rowOf(const QString &stableID) const {
        RowListView *list = view->list();
        return list->viewport()->mapToGlobal(
            list->rowRect(*list->rows().rowOfTab(stableID)).center().toPoint());
    }
    // Waits until Qt has seen the pointer on that tab's row.
    void hover(const QString &stableID) {
        pointer.moveTo(rowOf(stableID));
        RowListView *list = view->list();
        QTRY_VERIFY(list->hoveredRow() == list->rows().rowOfTab(stableID));
    }
    static bool menuIsOpen() { return qobject_cast<QMenu *>(QApplication::activePopupWidget()); }

    QWidget host;
    MenuBarView *view;
    XTestInput pointer;
};

} // namespace

class PanelPointerTest : public QObject {
    Q_OBJECT
private slots:
    // A right click under a held left button opened the row's menu and left the press pending:
    // the next click on the list was ignored and its release clicked the first row again.
    void rightClickUnderAHeldPress() {
        PanelTestContext c;
        c.setOpenTabs(
            {PanelTestContext::tab("r", "Roadmap"), PanelTestContext::tab("s", "Design system")});
        PopupPanel p(c);
        p.hover("r");
        p.pointer.button(1, true);
        p.pointer.button(3, true);
        p.pointer.button(3, false);
        p.pointer.button(1, false);
        p.hover("s");
        p.pointer.button(1, true);
        p.pointer.button(1, false);
        QTRY_COMPARE(c.openedKeys(), QStringList{"s"});
        QVERIFY(!PopupPanel::menuIsOpen());
    }

    // A second button over the search field mid-drag sent the left release to the field: the
    // drag went on with no button held and the field's own menu opened.
    void secondButtonOverTheSearchFieldMidDrag() {
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a", "b", "c"}));
        c.makeFolders({{"A", {"a"}}});
        PopupPanel p(c);
        RowListView *list = p.view->list();
        p.hover("c");
        p.pointer.button(1, true);
        p.pointer.moveTo(p.rowOf("c") - QPoint(0, 10));
        QTRY_VERIFY(list->isDragging());
        const SearchFieldView *field = p.view->searchField();
        p.pointer.moveTo(field->mapToGlobal(field->rect().center()));
        QTRY_VERIFY(!list->litZone());
        p.pointer.button(3, true);
        p.pointer.button(3, false);
        p.pointer.button(1, false);
        QTRY_VERIFY(!list->isDragging());
        QVERIFY(!PopupPanel::menuIsOpen());
        QVERIFY(!list->previewLabel() || !list->previewLabel()->isVisible());
    }
};

QTEST_MAIN(PanelPointerTest)
#include "tst_panelpointer.moc"
