#pragma once

#include <cstdio>
#include <exception>
#include <string_view>
#include <utility>

namespace platform {

// Where a handler was called from, for the report: an event and, if any, the
// control or socket it happened to. Views are enough: nothing is built unless
// a handler fails.
struct Origin {
    std::string_view event;
    std::string_view subject;
};

// Writes one line to stderr about an exception that a handler let out.
inline void report_escaped(Origin origin, std::string_view what) noexcept {
    const auto length = [](std::string_view text) { return static_cast<int>(text.size()); };
    // An empty view (a socket event has no subject) may point nowhere, and
    // %.*s needs a pointer even for no characters.
    const auto start = [](std::string_view text) { return text.empty() ? "" : text.data(); };
    // stdio rather than iostreams: it cannot throw, and a line written in one
    // call is not interleaved with other output.
    std::fprintf(stderr, "orvanta: %.*s%s%.*s: %.*s\n", length(origin.event), start(origin.event),
                 origin.subject.empty() ? "" : " ", length(origin.subject), start(origin.subject),
                 length(what), start(what));
}

// Runs a handler that an event loop calls into (a click, a timer tick, a
// socket event). The loop cannot unwind through its own frames, so whatever
// the handler throws stops here and is only reported.
template <typename Handler>
void guarded(Origin origin, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        report_escaped(origin, error.what());
    } catch (...) {
        report_escaped(origin, "unknown exception");
    }
}

}  // namespace platform
