#include "platform/qt/qt_clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "support/scoped_variable.h"

namespace {

TEST(QtClockTest, TimeOfDayIsTheLocalTimeInTheSystemsZoneAndTheWallClockUtc) {
    // Five and a half hours east of Greenwich, in POSIX notation: no zone
    // files needed. Whoever reads the local time next sets the zone afresh
    // (tzset), as the clock itself does.
    const test_support::ScopedVariable zone("TZ", "IST-5:30");
    const platform::qt::QtClock clock;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const platform::TimeOfDay local = clock.time_of_day();
        const std::int64_t unix_time = clock.unix_time();
        if (std::time(nullptr) != before) {
            continue;  // a second ended in between; try again
        }
        const int expected = static_cast<int>((before + 5 * 3600 + 30 * 60) % 86400);
        EXPECT_EQ(local.hour * 3600 + local.minute * 60 + local.second, expected);
        EXPECT_GE(local.hour, 0);
        EXPECT_LT(local.hour, 24);
        // The wall clock knows no zone: seconds since 1970 in UTC.
        EXPECT_EQ(unix_time, before);
        return;
    }
    FAIL() << "the clock never stood still for a second";
}

}  // namespace
