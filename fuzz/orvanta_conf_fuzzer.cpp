// Feeds arbitrary bytes to the orvanta.conf reader. Besides crashes and
// sanitizer reports, it checks what the program relies on: a mistake always
// names a line that the text has (or none), and text that reads as settings
// still does with comment lines and blank lines added around each line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/orvanta_conf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const app::ConfResult result = app::parse_orvanta_conf(text);
    if (const auto* error = std::get_if<app::ConfError>(&result)) {
        const auto lines = 1 + static_cast<long>(std::count(text.begin(), text.end(), '\n'));
        if (error->line < 0 || error->line > lines || error->what.empty()) {
            std::abort();
        }
        return 0;
    }
    std::string padded = "# said before\n\n";
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = text.find('\n', start);
        padded +=
            std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
        padded += "\n  # a note\n\t\n";
        start = end == std::string_view::npos ? text.size() + 1 : end + 1;
    }
    if (app::parse_orvanta_conf(padded) != result) {
        std::abort();
    }
    return 0;
}
