#include "platform/qt/guarded.h"

#include <cstdio>

namespace platform::qt {

namespace {
int length(std::string_view text) {
    return static_cast<int>(text.size());
}
}  // namespace

void report_escaped(Origin origin, std::string_view what) noexcept {
    // stdio rather than iostreams: it cannot throw, and a line written in one
    // call is not interleaved with other output.
    std::fprintf(stderr, "orvanta: %.*s%s%.*s: %.*s\n", length(origin.event), origin.event.data(),
                 origin.subject.empty() ? "" : " ", length(origin.subject), origin.subject.data(),
                 length(what), what.data());
}

}  // namespace platform::qt
