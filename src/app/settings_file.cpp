#include "app/settings_file.h"

#include <array>
#include <optional>
#include <type_traits>
#include <variant>

#include "util/file_utilities.h"
#include "util/value_conversion.h"

namespace app {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

constexpr std::array<std::string_view, 12> kHeader = {
    "'",
    "'         Orvanta INI Settings File",
    "'         ----------------------------------",
    "'                   Written by Orvanta; edit it in the settings panel.",
    "'",
    "'",
    "' This file contains settings for Orvanta...",
    "' you should not need to edit it manually!",
    "'",
    "'",
    "'",
    "'",
};

constexpr std::array<std::string_view, 4> kFooter = {
    "'",
    "'",
    "'",
    "' Date INI last modified:",
};

using Member = std::variant<std::int16_t Settings::*, bool Settings::*>;

struct Field {
    Member member;
    std::string_view label;  // what the comment before the value calls it
    int spacers_before;      // bare "'" lines before that comment
};

constexpr std::array<Field, 9> kFields = {{
    {&Settings::LISTEN_PORT, "Remote Receive port", 0},
    {&Settings::TRANSMIT_PORT, "Remote Transmit port", 1},
    {&Settings::WINDOW_LEFT, "Window Left Position", 2},
    {&Settings::WINDOW_TOP, "Window Top Position", 1},
    {&Settings::SAVE_WINDOW_POS, "Save Window Position on Exit option", 2},
    {&Settings::KEEP_CONNECTED, "Always Keep Connected option", 2},
    {&Settings::STARTUP_IN_MINIMODE, "Startup in Mini-Mode option", 2},
    {&Settings::STARTUP_IN_SYSTRAY, "Startup in System Tray option", 2},
    {&Settings::DPC_HW_POLL_INTERVAL, "DPC hardware status poll interval", 2},
}};

std::string text_of(std::int16_t value) {
    return util::format_integer16(value);
}

std::string text_of(bool value) {
    return util::format_boolean(value);
}

// Converts text for the member and stores it; false when it does not convert.
bool assign(const Member& member, std::string_view text, Settings& settings) {
    return std::visit(
        [&](auto pointer) {
            using Value = std::remove_reference_t<decltype(settings.*pointer)>;
            std::optional<Value> value;
            if constexpr (std::is_same_v<Value, bool>) {
                value = util::parse_boolean(text);
            } else {
                value = util::parse_integer16(text);
            }
            if (value) {
                settings.*pointer = *value;
            }
            return value.has_value();
        },
        member);
}

// Hands out the lines of a text one by one, the way the file was always read:
// a line ends at CR, and an LF right after that CR belongs to the ending.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : rest_(text) {}

    // The next line, or nothing at the end of the text.
    std::optional<std::string_view> next() {
        if (rest_.empty()) {
            return std::nullopt;
        }
        const auto end = rest_.find('\r');
        const std::string_view line = rest_.substr(0, end);
        if (end == std::string_view::npos) {
            rest_ = {};
        } else {
            rest_.remove_prefix(end + 1);
            if (!rest_.empty() && rest_.front() == '\n') {
                rest_.remove_prefix(1);
            }
        }
        return line;
    }

  private:
    std::string_view rest_;
};

bool is_comment(std::string_view line) {
    return !line.empty() && line.front() == '\'';
}

void add_line(std::string& text, std::string_view line) {
    text += line;
    text += kLineEnd;
}

}  // namespace

std::string settings_path(const std::string& settings_folder) {
    return util::join_path(settings_folder, std::string(kSettingsFileName));
}

std::string format_settings(const Settings& settings, std::string_view date) {
    std::string text;
    for (const std::string_view line : kHeader) {
        add_line(text, line);
    }
    for (const Field& field : kFields) {
        for (int spacer = 0; spacer < field.spacers_before; ++spacer) {
            add_line(text, "'");
        }
        add_line(text, "' The following line contains the " + std::string(field.label) + ":");
        add_line(text, std::visit([&](auto pointer) { return text_of(settings.*pointer); },
                                  field.member));
    }
    for (const std::string_view line : kFooter) {
        add_line(text, line);
    }
    std::string dated = "'";
    dated += date;
    add_line(text, dated);
    return text;
}

bool parse_settings(std::string_view text, Settings& settings) {
    LineReader lines(text);
    for (const Field& field : kFields) {
        std::optional<std::string_view> line = lines.next();
        while (line && is_comment(*line)) {
            line = lines.next();
        }
        if (!line || !assign(field.member, *line, settings)) {
            return false;
        }
    }
    return true;
}

}  // namespace app
