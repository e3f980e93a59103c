#include "app/PanelPopover.h"
#include "app/PopoverPlacement.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>

namespace {

// Panel content whose height the test changes, with a text field like the search field.
class FakePanel : public QWidget {
public:
    FakePanel() {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(field);
        layout->addStretch();
        setFixedHeight(300);
    }
    QLineEdit *field = new QLineEdit(this);
};

} // namespace

class TestPanelPopover : public QObject {
    Q_OBJECT
private slots:
    void init() {
        iconGeometry = QRect();
        panel = new FakePanel;
        popover = std::make_unique<PanelPopover>(panel, [this] { return iconGeometry; });
        popover->setInitialFocus([this] { return panel->field; });
    }
    void cleanup() { popover.reset(); }

    void opensUnderTheTrayIcon() {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        iconGeometry = QRect(available.center().x(), available.top(), 22, 22);
        popover->present();
        QVERIFY(popover->isShown());
        QCOMPARE(popover->width(), PanelPopover::panelWidth);
        QCOMPARE(popover->pos(),
                 PopoverPlacement::besideAnchor(iconGeometry, popover->size(), available));
    }

    void withoutIcon_opensInTheTopRightCorner() {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        popover->present();
        QCOMPARE(popover->pos(), PopoverPlacement::topRight(popover->size(), available));
    }

    void growingContent_staysOnScreen() {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        iconGeometry = QRect(available.center().x(), available.top(), 22, 22);
        popover->present();
        panel->setFixedHeight(available.height() + 100);
        QTRY_COMPARE(popover->height(), available.height() + 100);
        QCOMPARE(popover->y(), available.top());
        panel->setFixedHeight(200);
        QTRY_COMPARE(popover->height(), 200);
        QVERIFY(available.contains(popover->geometry()));
    }

    void focus_isInTheFieldWhileShownOnly() {
        popover->present();
        QCOMPARE(popover->focusWidget(), panel->field);
        popover->dismiss();
        QVERIFY(!popover->isShown());
        // A focused field would keep its cursor blinking in the hidden window.
        QVERIFY(!panel->field->hasFocus());
        popover->present();
        QCOMPARE(popover->focusWidget(), panel->field);
    }

private:
    QRect iconGeometry;
    FakePanel *panel = nullptr;
    std::unique_ptr<PanelPopover> popover;
};

QTEST_MAIN(TestPanelPopover)
#include "tst_appdelegate_popover.moc"
