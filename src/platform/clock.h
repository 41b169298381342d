#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace platform {

struct TimeOfDay {
    int hour = 0;  // 0 to 23
    int minute = 0;
    int second = 0;
};

// Where the program learns the time.
class Clock {
  public:
    Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;
    virtual ~Clock() = default;

    // The local wall-clock time of day.
    virtual TimeOfDay time_of_day() const = 0;
    // A monotonic time from an arbitrary origin, for measuring intervals.
    virtual std::chrono::milliseconds steady_now() const = 0;
    // The wall-clock time in seconds since 1970 (UTC), for stamping what
    // other machines read.
    virtual std::int64_t unix_time() const = 0;
    // Today's date as text in the user's short date format, such as "12/6/26".
    virtual std::string short_date() const = 0;
};

}  // namespace platform
