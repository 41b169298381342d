#pragma once

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

}  // namespace util
