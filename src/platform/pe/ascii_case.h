#pragma once

#include <algorithm>
#include <string_view>

namespace platform::pe {

// Names in version records match as Windows matches them: letters A to Z
// equal their lower-case forms, every other byte only itself.
inline bool equal_ignoring_ascii_case(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace platform::pe
