#pragma once

#include <chrono>
#include <string>

#include "platform/clock.h"

namespace fakes {

// A clock that moves only when the test moves it.
class FakeClock : public platform::Clock {
  public:
    platform::TimeOfDay time{12, 0, 0};
    std::chrono::milliseconds steady{0};
    std::string date = "12/6/26";

    void set_time(int hour, int minute, int second = 0) { time = {hour, minute, second}; }
    void advance(std::chrono::milliseconds by) { steady += by; }

    platform::TimeOfDay time_of_day() const override { return time; }
    std::chrono::milliseconds steady_now() const override { return steady; }
    std::string short_date() const override { return date; }
};

}  // namespace fakes
