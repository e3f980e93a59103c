#include "support/PanelTestContext.h"

#include "panel/ListController.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Presses and drags on the controller alone, the rows given as the view would give them.
struct Controlled {
    explicit Controlled(PanelTestContext &c, bool editing = false)
        : context(c)
        , controller(c.context) {
        refresh(editing);
    }
    void refresh(bool editing = false) { controller.setRows(context.rows(editing)); }
    RowKey keyOf(const QString &stableID) const {
        const ListRows &rows = controller.rows();
        return rows.key(rows.rows()[rows.rowOfTab(stableID).value()]);
    }
    RowKey keyOf(RowKind kind) const {
        const ListRows &rows = controller.rows();
        for (const ListRow &row : rows.rows())
            if (row.kind == kind)
                return rows.key(row);
        return {};
    }
    void pressAndDrag(const RowKey &row) {
        controller.press({row}, {0, 0}, {});
        controller.moveTo({0, 10});
    }

    PanelTestContext &context;
    ListController controller;
};

} // namespace

class ListControllerTest : public QObject {
    Q_OBJECT
private slots:
    // A press holds what it pressed, not where: Figma closing tabs above a held press used to
    // make the drag read a row number past the end (a crash) or another tab's (the wrong file
    // filed); a press whose row went must do nothing at all.
    void rebuildUnderAHeldPress() {
        PanelTestContext c;
        c.setOpenTabs({PanelTestContext::tab("a", "Brief"), PanelTestContext::tab("u", "UI design"),
                       PanelTestContext::tab("r", "Roadmap")});
        const QUuid folder = c.makeFolders({{"Work", {}}}).first();
        Controlled p(c);

        p.controller.press({p.keyOf("u")}, {0, 0}, {});
        c.setOpenTabs(
            {PanelTestContext::tab("u", "UI design"), PanelTestContext::tab("r", "Roadmap")});
        p.refresh();
        p.controller.moveTo({0, 10});
        QCOMPARE(p.controller.drag()->label, QStringLiteral("UI design"));
        p.controller.setTargets(std::nullopt, DropTarget{DropTarget::Kind::FolderSection, folder});
        p.controller.release(std::nullopt);
        QCOMPARE(c.folderTabIDs(folder), QStringList{"u"});

        p.controller.press({p.keyOf("r")}, {0, 0}, {});
        c.setOpenTabs(PanelTestContext::tabs({"u"}));
        p.refresh();
        QVERIFY(!p.controller.isHolding());
        p.controller.moveTo({0, 10});
        p.controller.release(std::nullopt);
        QVERIFY(!p.controller.drag());
        QVERIFY(c.openedKeys().isEmpty());
    }

    // A painted button acts only when the button comes up where it went down: pressing a
    // folder's name in edit mode and releasing on its trash deleted the folder, pressing the
    // "Recently Closed" caption and releasing on "Clear" emptied the list.
    void buttonsActOnlyWhenPressedAndReleasedOnThem() {
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"a"}));
        c.recentlyClosedStore.recordClosed({PanelTestContext::tab("gone")}, {});
        c.makeFolders({{"A", {"a"}}});
        Controlled p(c, true);
        const RowHit trash{p.keyOf(RowKind::FolderHeader), RowPart::Button};
        p.controller.press({trash.row, RowPart::Body}, {0, 0}, {});
        p.controller.release(trash);
        p.controller.press(trash, {0, 0}, {});
        p.controller.release(RowHit{trash.row, RowPart::Body});
        QCOMPARE(c.folderNames(), QStringList{"A"});
        p.controller.press(trash, {0, 0}, {});
        p.controller.release(trash);
        QVERIFY(c.folderNames().isEmpty());

        p.refresh();
        const RowHit clear{p.keyOf(RowKind::RecentCaption), RowPart::Button};
        p.controller.press({clear.row, RowPart::Body}, {0, 0}, {});
        p.controller.release(clear);
        QCOMPARE(c.recentlyClosedStore.recentTabs().size(), 1);
        p.controller.press(clear, {0, 0}, {});
        p.controller.release(clear);
        QVERIFY(c.recentlyClosedStore.recentTabs().isEmpty());
    }

    // Several selected tabs landed in hash order, not in the order their rows are shown, and
    // were written one file write each.
    void dragCarriesTheSelectionInShownOrder() {
        PanelTestContext c;
        c.setOpenTabs(PanelTestContext::tabs({"t0", "t1", "t2", "t3", "t4", "t5", "t6"}));
        const QUuid folder = c.makeFolders({{"A", {}}}).first();
        for (const char *key : {"t5", "t1", "t6", "t3", "t0", "t2"})
            c.selectionStore.toggle(QString::fromLatin1(key));
        Controlled p(c);
        p.pressAndDrag(p.keyOf("t3"));
        QCOMPARE(p.controller.drag()->stableIDs, (QStringList{"t0", "t1", "t2", "t3", "t5", "t6"}));
        p.controller.setTargets(std::nullopt, DropTarget{DropTarget::Kind::FolderSection, folder});
        QSignalSpy saved(&c.folderStore, &FolderStore::saved);
        p.controller.release(std::nullopt);
        QCOMPARE(saved.size(), 1);
        QCOMPARE(c.folderTabIDs(folder), (QStringList{"t0", "t1", "t2", "t3", "t5", "t6"}));
        QVERIFY(c.selectionStore.selectedIDs().isEmpty());
    }
};

QTEST_MAIN(ListControllerTest)
#include "tst_listcontroller.moc"
