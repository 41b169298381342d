#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace fakes {

// A clock that moves only when the test moves it.
class FakeClock : public platform::Clock {
  public:
    platform::TimeOfDay time{12, 0, 0};
    std::chrono::milliseconds steady{0};
    // 7 December 2026, 21:05 UTC.
    std::chrono::milliseconds wall{std::int64_t{1796677500} * 1000};
    std::string date = "12/6/26";

    void set_time(int hour, int minute, int second = 0) { time = {hour, minute, second}; }
    // Moves the steady and the wall clock alike; the time of day is set apart.
    void advance(std::chrono::milliseconds by) {
        steady += by;
        wall += by;
    }

    platform::TimeOfDay time_of_day() const override { return time; }
    std::chrono::milliseconds steady_now() const override { return steady; }
    std::int64_t unix_time() const override {
        return std::chrono::duration_cast<std::chrono::seconds>(wall).count();
    }
    std::string short_date() const override { return date; }
};

}  // namespace fakes
