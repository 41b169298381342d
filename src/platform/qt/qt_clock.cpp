#include "platform/qt/qt_clock.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace platform::qt {

TimeOfDay QtClock::time_of_day() const {
    const QTime now = QTime::currentTime();
    return {now.hour(), now.minute(), now.second()};
}

std::chrono::milliseconds QtClock::steady_now() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

std::string QtClock::short_date() const {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

}  // namespace platform::qt
