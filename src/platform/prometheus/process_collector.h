#pragma once

#include <prometheus/collectable.h>
#include <prometheus/metric_family.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform::prometheus {

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
