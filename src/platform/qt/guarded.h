#pragma once

#include <exception>
#include <string_view>
#include <utility>

#include "platform/failure.h"

namespace platform::qt {

// Where a handler was called from, for the report: an event and, if any, the
// control it happened to. Views are enough: nothing is built unless a
// handler fails.
struct Origin {
    std::string_view event;
    std::string_view subject;
};

// Writes one line to stderr about an exception that a handler let out.
void report_escaped(Origin origin, std::string_view what) noexcept;

// Runs a handler that Qt's event loop calls into (a click, a focus change, a
// timer tick). Qt cannot unwind through its own frames, so whatever the
// handler throws stops here and is only reported.
template <typename Handler>
void guarded(Origin origin, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const platform::Failure& failure) {
        report_escaped(origin, failure.what());
    } catch (const std::exception& error) {
        report_escaped(origin, error.what());
    } catch (...) {
        report_escaped(origin, "unknown exception");
    }
}

}  // namespace platform::qt
