#include "stores/SelectionStore.h"

#include <QSignalSpy>
#include <QTest>

class SelectionStoreTest : public QObject {
    Q_OBJECT
private slots:
    void toggleAndClear() {
        SelectionStore store;
        QSignalSpy changed(&store, &SelectionStore::selectedIDsChanged);
        store.clear();
        store.toggle("a");
        store.toggle("b");
        store.toggle("a");
        QCOMPARE(store.selectedIDs(), QSet<QString>{"b"});
        store.clear();
        QVERIFY(store.selectedIDs().isEmpty());
        QCOMPARE(changed.count(), 4); // an empty selection cleared is no change
    }
};

QTEST_GUILESS_MAIN(SelectionStoreTest)
#include "tst_selectionstore.moc"
