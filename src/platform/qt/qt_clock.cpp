#include "platform/qt/qt_clock.h"

#include <QDate>
#include <QLocale>
#include <ctime>

namespace platform::qt {

TimeOfDay QtClock::time_of_day() const {
    const auto now = steady_now();
    if (!zone_checked_ || now - *zone_checked_ >= zone_check_interval) {
        // Picks up a change of the system's time zone made while we run.
        ::tzset();
        zone_checked_ = now;
    }
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    return {local.tm_hour, local.tm_min, local.tm_sec};
}

std::chrono::milliseconds QtClock::steady_now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

std::int64_t QtClock::unix_time() const {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string QtClock::short_date() const {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

}  // namespace platform::qt
