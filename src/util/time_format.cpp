#include "util/time_format.h"

namespace util {

namespace {
std::string two_digits(int value) {
    std::string digits = value < 10 ? "0" : "";
    digits += std::to_string(value);
    return digits;
}

std::string twelve_hour(const platform::TimeOfDay& time, bool pad_hour) {
    const int hour = time.hour % 12 == 0 ? 12 : time.hour % 12;
    return (pad_hour ? two_digits(hour) : std::to_string(hour)) + ":" + two_digits(time.minute) +
           (time.hour < 12 ? "am" : "pm");
}
}  // namespace

std::string log_time(const platform::TimeOfDay& time) {
    return twelve_hour(time, true);
}

std::string dial_time(const platform::TimeOfDay& time) {
    return twelve_hour(time, false);
}

}  // namespace util
