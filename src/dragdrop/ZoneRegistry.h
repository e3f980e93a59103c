#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include "dragdrop/SafeCall.h"

#include <functional>
#include <optional>
#include <utility>

// One kind of registered drop place: its zones in registration order and the one highlighted.
// Zones are held without ownership; a zone whose widget has gone is dead and is skipped.
template <typename Payload> class ZoneRegistry {
public:
    using OnDrop = std::function<void(const Payload &)>;
    using OnHighlight = std::function<void(bool)>;

    struct Entry {
        QPointer<QWidget> view;
        OnDrop onDrop;
        OnHighlight onHighlight;
    };

    // Registering again replaces the zone's callbacks and moves it to the end.
    void registerZone(QWidget *view, OnDrop onDrop, OnHighlight onHighlight) {
        unregisterZone(view);
        entries_.append(Entry{view, std::move(onDrop), std::move(onHighlight)});
    }

    void unregisterZone(const QWidget *view) {
        entries_.removeIf([view](const Entry &entry) { return !entry.view || entry.view == view; });
    }

    void purge() {
        entries_.removeIf([](const Entry &entry) { return !entry.view; });
    }

    const QList<Entry> &entries() const { return entries_; }

    QWidget *hoveredView() const { return hovered_ ? hovered_->view.data() : nullptr; }

    // Moves the highlight to `candidate`: the old zone is cleared before the new one is lit, and
    // staying on the same zone calls nothing.
    void hover(const std::optional<Entry> &candidate) {
        QWidget *next = candidate ? candidate->view.data() : nullptr;
        if (hoveredView() == next)
            return;
        const std::optional<Entry> previous = std::exchange(hovered_, candidate);
        if (previous)
            callSafely(previous->onHighlight, false);
        if (candidate)
            callSafely(candidate->onHighlight, true);
    }

    // Clears the highlight, telling even a zone that has died since it was lit.
    void clearHover() {
        if (const std::optional<Entry> previous = std::exchange(hovered_, std::nullopt))
            callSafely(previous->onHighlight, false);
    }

    // Delivers a drop to the highlighted zone; false when there is none.
    bool dropOnHovered(const Payload &payload) const {
        if (!hovered_)
            return false;
        callSafely(hovered_->onDrop, payload);
        return true;
    }

private:
    QList<Entry> entries_;
    std::optional<Entry> hovered_;
};
