#pragma once

#include <chrono>
#include <optional>

#include "platform/clock.h"

namespace platform::qt {

// The system's local time and date, and a monotonic clock.
class QtClock : public platform::Clock {
  public:
    TimeOfDay time_of_day() const override;
    std::chrono::milliseconds steady_now() const override;
    std::int64_t unix_time() const override;
    std::string short_date() const override;

  private:
    // The status log stamps every request with the time of day, thousands a
    // second on a busy server. Asking Qt each time would have the C library
    // look at the time zone files each time; they are looked at once a minute.
    static constexpr std::chrono::minutes zone_check_interval{1};
    mutable std::optional<std::chrono::milliseconds> zone_checked_;
};

}  // namespace platform::qt
