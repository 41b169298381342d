#pragma once

#include <prometheus/collectable.h>
#include <prometheus/metric_family.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// The standard process_* metrics of the Prometheus client libraries, read
// from /proc when a scrape asks for them. Its state is fixed at
// construction, so the exposer's threads may collect at once.
class ProcessCollector final : public ::prometheus::Collectable {
  public:
    ProcessCollector();

    std::vector<::prometheus::MetricFamily> Collect() const override;

  private:
    double ticks_per_second_;
    double page_bytes_;
    // Seconds since 1970 at the machine's boot; unknown if /proc/stat was unreadable.
    std::optional<std::uint64_t> boot_time_;
};

}  // namespace platform::prometheus
