#include "tst_tabrowcontext.h"

#include "dragdrop/DropZoneView.h"
#include "panel/TabRowView.h"
#include "panel/UngroupedHintCard.h"
#include "panel/UngroupedInsertionLine.h"
#include "panel/UngroupedSectionView.h"
#include "ui/Style.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTest>

class UngroupedSectionTest : public QObject {
    Q_OBJECT
private slots:
    void hintCardOnlyWithoutFolders() {
        RowsTestContext c;
        UngroupedSectionView section(RowsTestContext::tabs({"a"}), c.context);
        showInPanelWidth(section);
        QVERIFY(section.hintCard());
        QVERIFY(section.lines().first()->geometry().top() >
                section.hintCard()->geometry().bottom());
        QSignalSpy requested(&c.notifications, &AppNotifications::startCreatingFolder);
        QTest::mouseClick(section.hintCard()->createButton(), Qt::LeftButton);
        QCOMPARE(requested.size(), 1);

        c.makeFolders({{"Work", {}}});
        UngroupedSectionView withFolders(RowsTestContext::tabs({"a", "b"}), c.context);
        QVERIFY(!withFolders.hintCard());
        QCOMPARE(withFolders.rows().size(), 2);
        QCOMPARE(withFolders.lines().size(), 3);
        QCOMPARE(withFolders.lines().last()->index(), 2);
    }

    void dropOnTheSectionUngroups() {
        RowsTestContext c;
        const QList<QUuid> ids = c.makeFolders({{"A", {"x", "k"}}, {"B", {"y"}}});
        UngroupedSectionView section(RowsTestContext::tabs({"a"}), c.context);
        showInPanelWidth(section);
        const QColor accent = Style::color(Style::Role::Accent, section.palette());
        QCOMPARE(section.captionColor(), Style::color(Style::Role::Secondary, section.palette()));
        hoverZone(section.dropHighlight().zone());
        QVERIFY(section.isDragTargeted());
        QCOMPARE(section.captionColor(), accent);
        dropOnHoveredZone({"y", "x"});
        QVERIFY(!section.isDragTargeted());
        QCOMPARE(c.folderTabIDs(ids[0]), QStringList{"k"});
        QVERIFY(c.folderTabIDs(ids[1]).isEmpty());
    }

    void lineDropPlacesTabs() {
        RowsTestContext c;
        const QUuid id = c.makeFolders({{"A", {"x", "y"}}}).first();
        UngroupedSectionView section(RowsTestContext::tabs({"a", "b", "c"}), c.context);
        section.lines()[1]->drop({"x", "y"});
        QCOMPARE(c.folderStore.ungroupedOrder(), (QStringList{"a", "x", "y", "b", "c"}));
        QVERIFY(c.folderTabIDs(id).isEmpty());
    }
};

QTEST_MAIN(UngroupedSectionTest)
#include "tst_ungrouped.moc"
