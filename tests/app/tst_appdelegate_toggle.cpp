#include "app/PopoverController.h"
#include "app/PopoverSurface.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

namespace {

class FakeSurface : public PopoverSurface {
public:
    explicit FakeSurface(QStringList *log)
        : m_log(log) {}
    bool isShown() const override { return m_shown; }
    void present() override {
        m_log->append(QStringLiteral("present"));
        m_shown = true;
        shownAt.start();
    }
    void dismiss() override {
        m_log->append(QStringLiteral("dismiss"));
        m_shown = false;
    }
    QElapsedTimer shownAt;

private:
    QStringList *m_log;
    bool m_shown = false;
};

} // namespace

class TestPopoverToggle : public QObject {
    Q_OBJECT
private slots:
    void init() {
        log.clear();
        surface = std::make_unique<FakeSurface>(&log);
        controller = std::make_unique<PopoverController>(
            surface.get(), [this] { log.append(QStringLiteral("refresh")); });
    }

    void opening_refreshesBeforeShowing_data() {
        QTest::addColumn<bool>("focusSearch");
        QTest::addColumn<int>("focusRequests");
        QTest::newRow("click or shortcut") << true << 1;
        QTest::newRow("without focus") << false << 0;
    }
    void opening_refreshesBeforeShowing() {
        QFETCH(bool, focusSearch);
        QFETCH(int, focusRequests);
        QSignalSpy focus(controller.get(), &PopoverController::focusSearchFieldRequested);

        controller->togglePopover(focusSearch);

        QCOMPARE(log, (QStringList{"refresh", "present"}));
        // The request comes later, never in the same turn as the showing.
        QCOMPARE(focus.count(), 0);
        QTest::qWait(PopoverController::focusDelayMs * 4);
        QCOMPARE(focus.count(), focusRequests);
    }

    void focusRequest_comesAfterTheDelay() {
        QElapsedTimer waited;
        connect(controller.get(), &PopoverController::focusSearchFieldRequested, this,
                [&] { waited = surface->shownAt; });
        controller->togglePopover(true);
        QTRY_VERIFY(waited.isValid());
        QVERIFY(waited.elapsed() >= PopoverController::focusDelayMs - 5);
    }

    void closing_doesNotRefresh() {
        controller->togglePopover(true);
        QTest::qWait(PopoverController::focusDelayMs * 2);
        log.clear();
        QSignalSpy focus(controller.get(), &PopoverController::focusSearchFieldRequested);

        controller->togglePopover(true);

        QCOMPARE(log, QStringList{"dismiss"});
        QTest::qWait(PopoverController::focusDelayMs * 3);
        QCOMPARE(focus.count(), 0);
    }

    void quickReopen_asksForFocusOnce() {
        QSignalSpy focus(controller.get(), &PopoverController::focusSearchFieldRequested);
        controller->togglePopover(true);
        controller->togglePopover(true);
        controller->togglePopover(true);

        QCOMPARE(log, (QStringList{"refresh", "present", "dismiss", "refresh", "present"}));
        QTest::qWait(PopoverController::focusDelayMs * 4);
        QCOMPARE(focus.count(), 1);
    }

private:
    QStringList log;
    std::unique_ptr<FakeSurface> surface;
    std::unique_ptr<PopoverController> controller;
};

QTEST_GUILESS_MAIN(TestPopoverToggle)
#include "tst_appdelegate_toggle.moc"
