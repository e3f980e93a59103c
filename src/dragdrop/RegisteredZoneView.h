#pragma once

#include "dragdrop/SafeCall.h"
#include "dragdrop/ZoneRegistry.h"

#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <utility>

// An invisible drop place. It is registered while it is shown in a window and unregistered when
// hidden, taken out of its window or destroyed. Mouse events pass through it to the rows below.
// Its owner hears about highlight changes and drops one event-loop turn after the mouse event
// that caused them, and a drop always switches the highlight off first.
template <typename Payload> class RegisteredZoneView : public QWidget {
public:
    using OnDrop = std::function<void(const Payload &)>;
    using OnHighlight = std::function<void(bool)>;

    ~RegisteredZoneView() override { registry_.unregisterZone(this); }

    bool isTargeted() const { return targeted_; }

    // Replaces the owner's callbacks; a shown zone registers again, moving it to the end.
    void setCallbacks(OnDrop onDrop, OnHighlight onHighlight) {
        onDrop_ = std::move(onDrop);
        onHighlight_ = std::move(onHighlight);
        syncRegistration();
    }

protected:
    RegisteredZoneView(ZoneRegistry<Payload> &registry, QWidget *parent)
        : QWidget(parent)
        , registry_(registry) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

    bool event(QEvent *event) override {
        const bool handled = QWidget::event(event);
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
            syncRegistration();
            break;
        default:
            break;
        }
        return handled;
    }

private:
    void syncRegistration() {
        if (!isVisible() || isWindow()) {
            registry_.unregisterZone(this);
            return;
        }
        const QPointer<RegisteredZoneView> self(this);
        registry_.registerZone(
            this,
            [self](const Payload &payload) {
                later(self, [self, payload] { self->deliverDrop(payload); });
            },
            [self](bool on) { later(self, [self, on] { self->setTargeted(on); }); });
    }

    // Runs `work` on the next event-loop turn, and not at all once the zone is gone.
    template <typename Work>
    static void later(const QPointer<RegisteredZoneView> &self, Work work) {
        if (self)
            QMetaObject::invokeMethod(self.data(), std::move(work), Qt::QueuedConnection);
    }

    void setTargeted(bool on) {
        if (targeted_ == on)
            return;
        targeted_ = on;
        callSafely(onHighlight_, on);
    }

    void deliverDrop(const Payload &payload) {
        const QPointer<RegisteredZoneView> self(this);
        setTargeted(false);
        if (self)
            callSafely(onDrop_, payload);
    }

    ZoneRegistry<Payload> &registry_;
    OnDrop onDrop_;
    OnHighlight onHighlight_;
    bool targeted_ = false;
};
