#pragma once

#include <utility>

// Calls an owner's callback through a copy, so the owner may replace or drop the callback (or
// the object holding it) while it runs.
template <typename Callback, typename... Arguments>
void callSafely(const Callback &callback, Arguments &&...arguments) {
    if (!callback)
        return;
    const Callback copy = callback;
    copy(std::forward<Arguments>(arguments)...);
}
