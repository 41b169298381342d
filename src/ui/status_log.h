#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "platform/clock.h"
#include "platform/forms/list_box.h"

namespace ui {

// The event log on the main window: blocks of lines written at the top of a
// list that never holds more than 22 lines. Each block is a separator, the
// time of day and one or two message lines.
class StatusLog {
  public:
    static constexpr int capacity = 22;
    static constexpr const char* separator = "     --------------------------------------";

    StatusLog(platform::ListBox& list, const platform::Clock& clock);

    // Removes lines from the bottom until a block of count lines fits within
    // the capacity.
    void TRIM_STATUS_LIST(std::int16_t count);

    // Writes a block of separator, time and message, trimming first.
    void write(const std::string& message);
    // Writes a block of separator, time, message and detail, trimming first.
    void write(const std::string& message, const std::string& detail);
    // Writes a block of separator, time and the given lines without trimming,
    // as start-up does while the log is still (nearly) empty.
    void write_untrimmed(std::initializer_list<std::string> lines);

  private:
    void insert_block(std::initializer_list<std::string> lines);

    platform::ListBox& list_;
    const platform::Clock& clock_;
};

}  // namespace ui
