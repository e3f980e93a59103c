#pragma once

#include <QHash>
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
        index_.insert(view, entries_.size());
        entries_.append(Entry{view, std::move(onDrop), std::move(onHighlight)});
    }

    // A panel rebuild registers and removes a thousand zones at once, so removal leaves a dead
    // entry in place (skipped like any dead zone) and the list is compacted only now and then.
    void unregisterZone(const QWidget *view) {
        const auto found = index_.constFind(view);
        if (found == index_.constEnd())
            return;
        Entry &entry = entries_[*found];
        if (entry.view == view)
            entry = Entry{};
        index_.erase(found);
        if (++deadCount_ > 32 && deadCount_ * 2 > entries_.size())
            purge();
    }

    // Dropping dead entries changes nothing a caller can see, so it is allowed on a const registry.
    void purge() const {
        entries_.removeIf([](const Entry &entry) { return !entry.view; });
        index_.clear();
        for (qsizetype i = 0; i < entries_.size(); ++i)
            index_.insert(entries_[i].view.data(), i);
        deadCount_ = 0;
    }

    // Live zones in registration order (a zone whose widget died since may still be listed).
    const QList<Entry> &entries() const {
        if (deadCount_ > 0)
            purge();
        return entries_;
    }

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
    mutable QList<Entry> entries_;
    mutable QHash<const QWidget *, qsizetype> index_;
    mutable qsizetype deadCount_ = 0;
    std::optional<Entry> hovered_;
};
