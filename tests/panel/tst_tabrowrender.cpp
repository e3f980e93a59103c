#include "tst_tabrowcontext.h"

#include "dragdrop/DragState.h"
#include "dragdrop/DropZoneView.h"
#include "dragdrop/FolderInsertionZoneView.h"

#include "panel/ClosedTabRowView.h"
#include "panel/FolderDropTargetRow.h"
#include "panel/FolderOrderInsertionLine.h"
#include "panel/FolderSectionView.h"
#include "panel/RecentlyClosedSectionView.h"
#include "panel/TabRowView.h"
#include "panel/UngroupedDropTargetRow.h"
#include "panel/UngroupedSectionView.h"
#include "panel/style/Style.h"

#include <QCursor>
#include <QDir>
#include <QPainter>
#include <QTest>

// Paints every row and section kind the way the panel shows them, checks colours at known
// places, and with NOOKERY_ROWS_SCREENSHOTS set saves the pictures there (light and dark, 1x
// and 2x) for looking at them.
class TabRowRenderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void selectedRowPaintsAccentBackground();
    void highlightedRowPaintsBorder();
    void renderEveryKind_data();
    void renderEveryKind();

private:
    QImage render(QWidget *widget, qreal ratio);
    QUrl m_thumbnail;
    QTemporaryDir m_directory;
};

namespace {

QPalette lightPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0xec, 0xec, 0xec));
    palette.setColor(QPalette::WindowText, QColor(0x1d, 0x1d, 0x1f));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, QColor(0x1d, 0x1d, 0x1f));
    palette.setColor(QPalette::Highlight, QColor(0x00, 0x7a, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

QPalette darkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x28, 0x28, 0x2a));
    palette.setColor(QPalette::WindowText, QColor(0xf5, 0xf5, 0xf7));
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::Text, QColor(0xf5, 0xf5, 0xf7));
    palette.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

QColor over(const QColor &top, const QColor &bottom) {
    const qreal a = top.alphaF();
    return QColor::fromRgbF(float(top.redF() * a + bottom.redF() * (1 - a)),
                            float(top.greenF() * a + bottom.greenF() * (1 - a)),
                            float(top.blueF() * a + bottom.blueF() * (1 - a)));
}

// Tells a zone it is lit (or no longer), as the drag state does during a drag.
template <typename Registry> void light(Registry &registry, QWidget *zone, bool on) {
    for (const auto &entry : registry.entries())
        if (entry.view == zone)
            entry.onHighlight(on);
}

bool near(const QColor &a, const QColor &b) {
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 &&
           qAbs(a.blue() - b.blue()) <= 2;
}

} // namespace

void TabRowRenderTest::initTestCase() {
    QImage image(320, 240, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 320, 240);
    gradient.setColorAt(0, QColor(0xff, 0x7a, 0x59));
    gradient.setColorAt(1, QColor(0x7b, 0x61, 0xff));
    painter.fillRect(image.rect(), gradient);
    painter.fillRect(QRect(40, 60, 140, 24), Qt::white);
    painter.fillRect(QRect(40, 100, 220, 80), QColor(255, 255, 255, 160));
    painter.end();
    const QString path = QDir(m_directory.path()).filePath("thumb.png");
    QVERIFY(image.save(path));
    m_thumbnail = QUrl::fromLocalFile(path);
}

QImage TabRowRenderTest::render(QWidget *widget, qreal ratio) {
    QImage image(widget->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(widget->palette().color(QPalette::Window));
    widget->render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

void TabRowRenderTest::selectedRowPaintsAccentBackground() {
    RowsTestContext c;
    TabRowView row(RowsTestContext::tab("k", "Design system"), c.context);
    row.setPalette(lightPalette());
    row.resize(420, TabRowView::rowHeight);
    c.selectionStore.toggle("k");
    const QImage image = render(&row, 1);
    const QColor expected = over(Style::color(Style::Role::Accent, row.palette(), 0.18),
                                 row.palette().color(QPalette::Window));
    // Inside the rounded background, clear of the text and the slot.
    QVERIFY(near(image.pixelColor(400, 26), expected));
    // The outer padding stays clear.
    QVERIFY(near(image.pixelColor(4, 26), row.palette().color(QPalette::Window)));
}

void TabRowRenderTest::highlightedRowPaintsBorder() {
    RowsTestContext c;
    TabRowView row(RowsTestContext::tab("k", "Design system"), c.context);
    row.setPalette(lightPalette());
    row.resize(420, TabRowView::rowHeight);
    row.setKeyboardHighlightedID("k");
    const QImage image = render(&row, 1);
    const QColor window = row.palette().color(QPalette::Window);
    const QColor fill = over(Style::color(Style::Role::Accent, row.palette(), 0.18), window);
    QVERIFY(near(image.pixelColor(400, 26), fill));
    // The 1.2 px border on the left edge (x = 8) is darker than the fill next to it.
    QVERIFY(image.pixelColor(8, 26).blue() > image.pixelColor(8, 26).red());
    QVERIFY(image.pixelColor(8, 26).red() < fill.red());
}

void TabRowRenderTest::renderEveryKind_data() {
    QTest::addColumn<bool>("dark");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("light 1x") << false << 1.0;
    QTest::newRow("light 2x") << false << 2.0;
    QTest::newRow("dark 1x") << true << 1.0;
    QTest::newRow("dark 2x") << true << 2.0;
}

void TabRowRenderTest::renderEveryKind() {
    QFETCH(bool, dark);
    QFETCH(qreal, ratio);
    const QPalette palette = dark ? darkPalette() : lightPalette();
    RowsTestContext c;
    const QList<QUuid> ids =
        c.makeFolders({{"Client work", {"a", "closed", "b", "c"}}, {"Archive", {}}});
    c.folderStore.toggleExpanded(ids[1]);

    QWidget canvas;
    canvas.setPalette(palette);
    canvas.setAutoFillBackground(true);
    QList<QWidget *> pieces;
    const auto add = [&](QWidget *piece) {
        piece->setParent(&canvas);
        pieces.append(piece);
        return piece;
    };

    // Tab rows: resting with thumbnail, hovered with the active dot, selected, highlighted,
    // search results with hints.
    add(new TabRowView(
        RowsTestContext::tab("t1", QString::fromUtf8("Marketing site – Figma"), false, m_thumbnail),
        c.context));
    auto *hovered = static_cast<TabRowView *>(
        add(new TabRowView(RowsTestContext::tab("t2", "Mobile app - Figma", true), c.context)));
    hovered->setHovered(true);
    auto *highlighted = static_cast<TabRowView *>(add(new TabRowView(
        RowsTestContext::tab("t3", "A very long file name that will not fit on one line at all"),
        c.context)));
    highlighted->setKeyboardHighlightedID("t3");
    add(new TabRowView(RowsTestContext::tab("t4", "Icons"), c.context,
                       QStringLiteral("Ungrouped")));
    add(new TabRowView(RowsTestContext::tab("t5", "Brand"), c.context,
                       QStringLiteral("Client work")));

    const QList<TabItem> folderTabs{RowsTestContext::tab("a", "Onboarding flow", true),
                                    RowsTestContext::tab("b", "Pricing page", false, m_thumbnail),
                                    RowsTestContext::tab("c", "Settings")};
    auto *folder = static_cast<FolderSectionView *>(
        add(new FolderSectionView(c.folderStore.folders()[0], folderTabs, false, c.context)));
    auto *targetedFolder = static_cast<FolderSectionView *>(
        add(new FolderSectionView(c.folderStore.folders()[1], {}, false, c.context)));
    add(new FolderOrderInsertionLine(0, &c.folderStore));
    auto *orderLine = static_cast<FolderOrderInsertionLine *>(
        add(new FolderOrderInsertionLine(1, &c.folderStore)));
    add(new FolderSectionView(c.folderStore.folders()[0], folderTabs.mid(0, 1), true, c.context));
    auto *renaming = static_cast<FolderSectionView *>(
        add(new FolderSectionView(c.folderStore.folders()[1], {}, false, c.context)));

    auto *ungrouped = static_cast<UngroupedSectionView *>(add(new UngroupedSectionView(
        {RowsTestContext::tab("u1", "Wireframes"), RowsTestContext::tab("u2", "Prototype")},
        c.context)));
    // Without folders: the hint card; with a selection: marks instead of thumbnails.
    RowsTestContext noFolders;
    noFolders.selectionStore.toggle("s1");
    add(new UngroupedSectionView({RowsTestContext::tab("s1", "Selected file", false, m_thumbnail),
                                  RowsTestContext::tab("s2", "Not selected", false, m_thumbnail)},
                                 noFolders.context));

    const QDateTime now = QDateTime::currentDateTimeUtc();
    auto *recent = static_cast<RecentlyClosedSectionView *>(add(new RecentlyClosedSectionView(
        {{"r1", "Old landing page - Figma", RowsTestContext::figmaUrl("r1"), m_thumbnail, now},
         {"r2", "Retired components", RowsTestContext::figmaUrl("r2"), {}, now},
         {"r3", "Broken thumbnail", RowsTestContext::figmaUrl("r3"),
          QUrl::fromLocalFile("/nonexistent/thumb.png"), now}},
        c.context)));
    auto *folderRow = static_cast<FolderDropTargetRow *>(
        add(new FolderDropTargetRow(c.folderStore.folders()[0], &c.folderStore)));
    add(new FolderDropTargetRow(c.folderStore.folders()[1], &c.folderStore));
    add(new UngroupedDropTargetRow(&c.folderStore));

    int top = 0;
    for (QWidget *piece : std::as_const(pieces)) {
        piece->setGeometry(0, top, 420, piece->sizeHint().height());
        top += piece->height() + 6;
    }
    canvas.resize(420, top);
    QCursor::setPos(-100, -100); // no row is hovered by accident
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));

    folder->rows()[1]->setHovered(true);
    DragState::TabZones &zones = DragState::shared().zones();
    DragState::FolderZones &folderZones = DragState::shared().folderInsertionZones();
    light(zones, targetedFolder->dropHighlight().zone(), true);
    light(zones, folderRow->dropHighlight().zone(), true);
    light(folderZones, orderLine->zone(), true);
    renaming->startRenaming();
    recent->rows()[0]->setHovered(true);
    QTest::qWait(300); // animations and thumbnails settle
    QVERIFY(targetedFolder->isDragTargeted());
    QVERIFY(folderRow->isTargeted());
    QVERIFY(orderLine->isTargeted());
    QVERIFY(!ungrouped->isDragTargeted());

    const QImage image = render(&canvas, ratio);
    const QByteArray directory = qgetenv("NOOKERY_ROWS_SCREENSHOTS");
    if (!directory.isEmpty())
        QVERIFY(image.save(QDir(QString::fromLocal8Bit(directory))
                               .filePath(QStringLiteral("rows-%1-%2x.png")
                                             .arg(dark ? "dark" : "light")
                                             .arg(int(ratio)))));
    light(zones, targetedFolder->dropHighlight().zone(), false);
    light(zones, folderRow->dropHighlight().zone(), false);
    light(folderZones, orderLine->zone(), false);
    QCoreApplication::processEvents();
}

QTEST_MAIN(TabRowRenderTest)
#include "tst_tabrowrender.moc"
