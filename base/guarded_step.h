#pragma once
// Race control and the race tick run steps that must not stop each other: a
// step that fails (a sound that cannot play, a picture that cannot load) is
// skipped and the next one runs, and nothing escapes into the timer event.

#include <exception>

namespace kesto {

template <class Step> void RunGuarded(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
        // skipped; the caller goes on with its next step
    }
}

} // namespace kesto
