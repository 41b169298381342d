#pragma once

#include <string>

#include "platform/clock.h"

namespace util {

// "hh:mmam/pm": two-digit hour on the 12-hour clock, as in the status log.
std::string log_time(const platform::TimeOfDay& time);

// "h:mmam/pm": the hour without a leading zero, as in the last-dial label.
std::string dial_time(const platform::TimeOfDay& time);

}  // namespace util
