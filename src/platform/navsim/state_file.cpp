#include "platform/navsim/state_file.h"

#include <charconv>
#include <optional>

#include "util/text.h"

namespace platform::navsim {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::string_view kHeader =
    "# Simulated navigator control of Orvanta.\n"
    "# Edit this file while the program runs: every read of the control reads it\n"
    "# afresh. One key=value a line; '#' starts a comment; whole numbers only.\n"
    "#   signal        what the control reports as the signal:\n"
    "#                 1 present, 3 none, 0 no strength (a dial then ends at 2)\n"
    "#   connection    1 connected, 2 disconnected, 3 dialing\n"
    "#   dial_seconds  how long a dial stays at 3 before it completes\n"
    "#   fail          anything but 0 makes every operation of the control fail\n";

std::optional<std::int16_t> parse_number(std::string_view text) {
    // from_chars takes neither blanks nor '+', which is what we want; it does
    // reject out-of-range values for the 16-bit target type by itself.
    std::int16_t value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::int16_t* field_for(std::string_view key, StateValues& values) {
    if (key == "signal") {
        return &values.signal;
    }
    if (key == "connection") {
        return &values.connection;
    }
    if (key == "dial_seconds") {
        return &values.dial_seconds;
    }
    if (key == "fail") {
        return &values.fail;
    }
    return nullptr;
}

void apply_line(std::string_view line, StateValues& values) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    line = util::trim_blanks(line);
    if (line.empty() || line.front() == '#') {
        return;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return;
    }
    std::int16_t* const field = field_for(util::trim_blanks(line.substr(0, equals)), values);
    if (field == nullptr) {
        return;
    }
    if (const auto number = parse_number(util::trim_blanks(line.substr(equals + 1)))) {
        *field = *number;
    }
}

}  // namespace

StateValues parse_state(std::string_view text, const StateValues& previous) {
    StateValues values = previous;
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    while (!text.empty()) {
        const auto newline = text.find('\n');
        apply_line(text.substr(0, newline), values);
        if (newline == std::string_view::npos) {
            break;
        }
        text.remove_prefix(newline + 1);
    }
    return values;
}

std::string format_state(const StateValues& values) {
    std::string text(kHeader);
    text += "signal=" + std::to_string(values.signal) + "\n";
    text += "connection=" + std::to_string(values.connection) + "\n";
    text += "dial_seconds=" + std::to_string(values.dial_seconds) + "\n";
    text += "fail=" + std::to_string(values.fail) + "\n";
    return text;
}

}  // namespace platform::navsim
