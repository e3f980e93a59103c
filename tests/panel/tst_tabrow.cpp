#include "tst_tabrowcontext.h"

#include "dragdrop/TabRowDragSourceView.h"
#include "panel/TabRowView.h"
#include "ui/Style.h"

#include <QMenu>
#include <QPainter>
#include <QTest>

namespace {

QColor over(const QColor &top, const QColor &bottom) {
    const float a = top.alphaF();
    return QColor::fromRgbF(top.redF() * a + bottom.redF() * (1 - a),
                            top.greenF() * a + bottom.greenF() * (1 - a),
                            top.blueF() * a + bottom.blueF() * (1 - a));
}

bool near(const QColor &a, const QColor &b) {
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 &&
           qAbs(a.blue() - b.blue()) <= 2;
}

QStringList texts(const QList<QAction *> &actions) {
    QStringList result;
    for (const QAction *action : actions)
        result.append(action->text());
    return result;
}

} // namespace

class TabRowTest : public QObject {
    Q_OBJECT
private slots:
    void looks_data() {
        QTest::addColumn<bool>("hovered");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("highlighted");
        QTest::addColumn<qreal>("background");
        QTest::addColumn<bool>("border");
        QTest::addColumn<qreal>("arrow");
        QTest::newRow("resting") << false << false << false << 0.0 << false << 0.0;
        QTest::newRow("hovered") << true << false << false << 0.10 << false << 1.0;
        QTest::newRow("selected") << false << true << false << 0.18 << false << 0.0;
        QTest::newRow("selected and hovered") << true << true << false << 0.18 << false << 0.0;
        QTest::newRow("highlighted") << false << false << true << 0.18 << true << 0.0;
        QTest::newRow("highlighted and hovered") << true << false << true << 0.18 << true << 1.0;
    }
    // The state's colours, and that the painted row shows them.
    void looks() {
        QFETCH(bool, hovered);
        QFETCH(bool, selected);
        QFETCH(bool, highlighted);
        QFETCH(qreal, background);
        QFETCH(bool, border);
        QFETCH(qreal, arrow);
        RowsTestContext c;
        TabRowView row(RowsTestContext::tab("k", "Design system"), c.context);
        row.resize(420, TabRowView::rowHeight);
        if (selected)
            c.selectionStore.toggle("k");
        row.setHovered(hovered);
        row.setKeyboardHighlightedID(highlighted ? "k" : "other");
        QCOMPARE(row.isSelected(), selected);
        QCOMPARE(row.isKeyboardHighlighted(), highlighted);
        const QColor accent = Style::color(Style::Role::Accent, row.palette());
        QVERIFY(qAbs(row.backgroundColor().alphaF() - accent.alphaF() * background) < 0.01);
        QCOMPARE(row.borderColor().alpha() > 0, border);
        QCOMPARE(row.arrowOpacity(), arrow);

        const QColor window = row.palette().color(QPalette::Window);
        QImage image(row.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(window);
        row.render(&image, {}, {}, QWidget::DrawChildren);
        // Right of the arrow, inside the rounded background; then on its left edge.
        const QColor fill = image.pixelColor(406, 26);
        QVERIFY(near(fill, over(row.backgroundColor(), window)));
        QCOMPARE(!near(image.pixelColor(8, 26), fill), border);
    }

    void selectionShowsMarksOnEveryRow() {
        RowsTestContext c;
        TabRowView a(RowsTestContext::tab("a"), c.context);
        TabRowView b(RowsTestContext::tab("b"), c.context);
        QVERIFY(!a.isSelectionActive());
        c.selectionStore.toggle("b");
        QVERIFY(a.isSelectionActive() && b.isSelectionActive());
        QVERIFY(!a.isSelected() && b.isSelected());
        c.selectionStore.clear();
        QVERIFY(!a.isSelectionActive());
    }

    void clicks() {
        RowsTestContext c;
        TabRowView row(RowsTestContext::tab("k", "Icons - Figma"), c.context);
        showInPanelWidth(row);
        auto *source = row.findChild<TabRowDragSourceView *>();
        QCOMPARE(source->fields().title, QStringLiteral("Icons"));

        QTest::mouseClick(source, Qt::LeftButton, Qt::ControlModifier, QPoint(100, 20));
        QCOMPARE(c.selectionStore.selectedIDs(), QSet<QString>{"k"});
        QTest::mouseClick(source, Qt::LeftButton, Qt::ControlModifier, QPoint(100, 20));
        QVERIFY(c.selectionStore.selectedIDs().isEmpty());
        QVERIFY(c.workspace.openedUrls.isEmpty());

        // A plain click drops the selection and opens the tab.
        c.selectionStore.toggle("x");
        QTest::mouseClick(source, Qt::LeftButton, {}, QPoint(100, 20));
        QVERIFY(c.selectionStore.selectedIDs().isEmpty());
        QCOMPARE(c.workspace.openedUrls, QList<QUrl>{QUrl("figma:///design/k/File")});
    }

    void contextMenuItems_data() {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<bool>("inFolder");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("no folders") << QStringList() << false << QStringList();
        QTest::newRow("ungrouped")
            << QStringList{"Work", "Play"} << false << QStringList{"Move to Folder"};
        QTest::newRow("filed") << QStringList{"Work", "Play"} << true
                               << QStringList{"Move to Folder", "Remove from Folder"};
    }
    void contextMenuItems() {
        QFETCH(QStringList, folders);
        QFETCH(bool, inFolder);
        QFETCH(QStringList, items);
        RowsTestContext c;
        for (const QString &name : folders)
            c.makeFolders({{name, inFolder && name == folders.first() ? QStringList{"k", "m"}
                                                                      : QStringList()}});
        TabRowView row(RowsTestContext::tab("k"), c.context);
        std::unique_ptr<QMenu> menu(row.createContextMenu(nullptr));
        QCOMPARE(texts(menu->actions()), items);
        if (items.isEmpty())
            return;
        QCOMPARE(texts(menu->actions().first()->menu()->actions()), folders);
        if (inFolder) {
            menu->actions().last()->trigger();
            QCOMPARE(c.folderTabIDs(c.folderStore.folders().first().id), QStringList{"m"});
            QVERIFY(!c.folderStore.isInFolder("k"));
        }
    }

    void moveToItsOwnFolderPlacesAlphabetically() {
        RowsTestContext c;
        c.setOpenTabs({RowsTestContext::tab("b", "beta"), RowsTestContext::tab("d", "Delta"),
                       RowsTestContext::tab("c", "Charlie")});
        const QUuid folder = c.makeFolders({{"A", {"b", "d", "c"}}}).first();
        TabRowView row(RowsTestContext::tab("c", "Charlie"), c.context);
        std::unique_ptr<QMenu> menu(row.createContextMenu(nullptr));
        menu->actions().first()->menu()->actions().first()->trigger();
        QCOMPARE(c.folderTabIDs(folder), (QStringList{"b", "c", "d"}));
    }
};

QTEST_MAIN(TabRowTest)
#include "tst_tabrow.moc"
