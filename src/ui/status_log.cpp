#include "ui/status_log.h"

#include "util/time_format.h"

namespace ui {

StatusLog::StatusLog(platform::ListBox& list, const platform::Clock& clock)
    : list_(list), clock_(clock) {}

void StatusLog::TRIM_STATUS_LIST(std::int16_t count) {
    // Callers pass 0 to 22; a larger count can at most empty the list.
    const int limit = count > capacity ? 0 : capacity - count;
    if (list_.count() <= limit) {
        return;
    }
    const int surplus = list_.count() - limit;
    for (int i = 0; i < surplus; ++i) {
        list_.remove(list_.count() - 1);
    }
}

void StatusLog::write(const std::string& message) {
    TRIM_STATUS_LIST(3);
    insert_block({message});
}

void StatusLog::write(const std::string& message, const std::string& detail) {
    TRIM_STATUS_LIST(4);
    insert_block({message, detail});
}

void StatusLog::write_untrimmed(std::initializer_list<std::string> lines) {
    insert_block(lines);
}

void StatusLog::insert_block(std::initializer_list<std::string> lines) {
    list_.insert(0, separator);
    list_.insert(1, "     " + util::log_time(clock_.time_of_day()));
    int index = 2;
    for (const auto& line : lines) {
        list_.insert(index++, line);
    }
}

}  // namespace ui
