#include "util/time_format.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    platform::TimeOfDay time;
    const char* log;
    const char* dial;
};

TEST(TimeFormatTest, TwelveHourClockInBothForms) {
    const Case cases[] = {
        {{0, 30, 0}, "12:30am", "12:30am"},  {{7, 7, 0}, "07:07am", "7:07am"},
        {{12, 7, 0}, "12:07pm", "12:07pm"},  {{21, 5, 59}, "09:05pm", "9:05pm"},
        {{11, 59, 0}, "11:59am", "11:59am"}, {{13, 0, 0}, "01:00pm", "1:00pm"},
        {{23, 59, 0}, "11:59pm", "11:59pm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.time.hour) + ":" + std::to_string(c.time.minute));
        EXPECT_EQ(util::log_time(c.time), c.log);
        EXPECT_EQ(util::dial_time(c.time), c.dial);
    }
}

}  // namespace
