#pragma once

#include <initializer_list>
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
