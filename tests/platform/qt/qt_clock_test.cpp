#include "platform/qt/qt_clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "support/scoped_variable.h"

namespace {

// TZ set for one test; the C library looks at the zone again afterwards.
class TimeZone {
  public:
    explicit TimeZone(const std::string& zone) : variable_(std::in_place, "TZ", zone) {}
    ~TimeZone() {
        variable_.reset();
        ::tzset();
    }

  private:
    std::optional<test_support::ScopedVariable> variable_;
};

int seconds_of_day(platform::TimeOfDay time) {
    return time.hour * 3600 + time.minute * 60 + time.second;
}

TEST(QtClockTest, TimeOfDayIsTheLocalTimeInTheSystemsZoneAndTheWallClockUtc) {
    // Five and a half hours east of Greenwich, in POSIX notation: no zone
    // files needed.
    const TimeZone zone("IST-5:30");
    const platform::qt::QtClock clock;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const platform::TimeOfDay local = clock.time_of_day();
        const std::int64_t unix_time = clock.unix_time();
        if (std::time(nullptr) != before) {
            continue;  // a second ended in between; try again
        }
        const int expected = static_cast<int>((before + 5 * 3600 + 30 * 60) % 86400);
        EXPECT_EQ(seconds_of_day(local), expected);
        EXPECT_GE(local.hour, 0);
        EXPECT_LT(local.hour, 24);
        // The wall clock knows no zone: seconds since 1970 in UTC.
        EXPECT_EQ(unix_time, before);
        return;
    }
    FAIL() << "the clock never stood still for a second";
}

}  // namespace
