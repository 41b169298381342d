#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace util {

// Whether c is a blank: a space or a tab.
constexpr bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The text without the blanks at either end.
constexpr std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Decimal digits alone, at least one, as a number no greater than most
// (which stays below ULONG_MAX / 10); a sign, a blank or a larger number
// gives nothing.
constexpr std::optional<unsigned long> parse_decimal(std::string_view text, unsigned long most) {
    if (text.empty()) {
        return std::nullopt;
    }
    unsigned long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned long>(c - '0');
        if (value > most) {
            return std::nullopt;
        }
    }
    return value;
}

// A message box text made of lines, each break an LF followed by a CR; an
// empty line between two others leaves a blank line.
inline std::string message_lines(std::initializer_list<std::string_view> lines) {
    std::string text;
    bool first = true;
    for (const std::string_view line : lines) {
        if (!first) {
            text += "\n\r";
        }
        first = false;
        text += line;
    }
    return text;
}

}  // namespace util
