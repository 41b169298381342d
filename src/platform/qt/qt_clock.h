#pragma once

#include "platform/clock.h"

namespace platform::qt {

// The system's local time and date, and a monotonic clock.
class QtClock : public platform::Clock {
  public:
    TimeOfDay time_of_day() const override;
    std::chrono::milliseconds steady_now() const override;
    std::string short_date() const override;
};

}  // namespace platform::qt
