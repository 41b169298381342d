// Feeds arbitrary bytes to the readers of /proc/<pid>/stat and /proc/stat,
// whose command name the process's owner chooses. Besides crashes and
// sanitizer reports, it checks that a name holding anything but its last
// closing parenthesis reads the same as a plain one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/prometheus/proc_stat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)platform::prometheus::parse_boot_time(text);
    const auto read = platform::prometheus::parse_process_stat(text);
    const std::size_t name_end = text.rfind(')');
    if (name_end == std::string_view::npos) {
        if (read) {
            std::abort();
        }
        return 0;
    }
    const std::string plain = "1 (x" + std::string(text.substr(name_end));
    const auto again = platform::prometheus::parse_process_stat(plain);
    if (read.has_value() != again.has_value() ||
        (read &&
         (read->user_ticks != again->user_ticks || read->start_ticks != again->start_ticks ||
          read->resident_pages != again->resident_pages))) {
        std::abort();
    }
    return 0;
}
