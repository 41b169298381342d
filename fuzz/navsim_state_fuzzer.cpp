// Feeds arbitrary bytes to the navsim.state parser. Besides crashes and
// sanitizer reports, it checks the two properties the simulation relies on:
// what it writes reads back as the same values, and reading the same text twice
// changes nothing the second time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/navsim/state_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using platform::navsim::StateValues;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const StateValues values = platform::navsim::parse_state(text, StateValues{});
    if (platform::navsim::parse_state(text, values) != values) {
        std::abort();
    }
    const StateValues previous{-1, -1, -1, -1};
    if (platform::navsim::parse_state(platform::navsim::format_state(values), previous) != values) {
        std::abort();
    }
    return 0;
}
