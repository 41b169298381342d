#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform::prometheus {

// What /proc/self/stat says about the process, in the kernel's units.
struct ProcessStat {
    std::uint64_t user_ticks = 0;
    std::uint64_t system_ticks = 0;
    // Clock ticks after the machine's boot.
    std::uint64_t start_ticks = 0;
    std::uint64_t virtual_bytes = 0;
    std::uint64_t resident_pages = 0;
};

// Reads the text of /proc/<pid>/stat. The command name in parentheses may
// hold blanks and parentheses itself, so the fields are counted from the
// last closing parenthesis.
std::optional<ProcessStat> parse_process_stat(std::string_view text);
// The machine's boot time in seconds since 1970, from the text of /proc/stat.
std::optional<std::uint64_t> parse_boot_time(std::string_view text);

}  // namespace platform::prometheus
