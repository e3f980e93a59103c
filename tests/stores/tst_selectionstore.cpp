#include "stores/SelectionStore.h"

#include <QSignalSpy>
#include <QTest>

class SelectionStoreTest : public QObject {
    Q_OBJECT
private slots:
    void toggleAddsAndRemoves() {
        SelectionStore store;
        QSignalSpy changed(&store, &SelectionStore::selectedIDsChanged);
        store.toggle("a");
        store.toggle("b");
        QCOMPARE(store.selectedIDs(), QSet<QString>({"a", "b"}));
        store.toggle("a");
        QCOMPARE(store.selectedIDs(), QSet<QString>{"b"});
        QCOMPARE(changed.count(), 3);
    }

    void clearNotifiesOnlyWhenSomethingWasSelected() {
        SelectionStore store;
        QSignalSpy changed(&store, &SelectionStore::selectedIDsChanged);
        store.clear();
        QCOMPARE(changed.count(), 0);
        store.toggle("a");
        store.clear();
        QVERIFY(store.selectedIDs().isEmpty());
        QCOMPARE(changed.count(), 2);
    }
};

QTEST_GUILESS_MAIN(SelectionStoreTest)
#include "tst_selectionstore.moc"
