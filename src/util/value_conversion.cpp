#include "util/value_conversion.h"

#include <algorithm>
#include <limits>

#include "util/text.h"

namespace util {

namespace {

// Past every 16-bit value, yet far from overflowing a long when one more digit
// is added: a long run of digits saturates here instead of wrapping round.
constexpr long kSaturated = 1'000'000;

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

bool equals_ignoring_case(std::string_view text, std::string_view word) {
    return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
        return lower(a) == lower(b);
    });
}

enum class Fraction { BelowHalf, Half, AboveHalf };

// Where the digits after the point lie against one half, read exactly.
Fraction classify_fraction(std::string_view digits) {
    if (digits.empty() || digits.front() < '5') {
        return Fraction::BelowHalf;
    }
    if (digits.front() > '5') {
        return Fraction::AboveHalf;
    }
    const bool more =
        std::any_of(digits.begin() + 1, digits.end(), [](char c) { return c != '0'; });
    return more ? Fraction::AboveHalf : Fraction::Half;
}

// A number's text taken apart: its sign, its whole part (saturated, see
// above), whether any digit at all is not zero, and where its fraction lies.
struct ScannedNumber {
    bool negative = false;
    long whole = 0;
    bool nonzero = false;
    Fraction fraction = Fraction::BelowHalf;
};

std::optional<ScannedNumber> scan_number(std::string_view text) {
    text = util::trim_blanks(text);
    ScannedNumber number;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        number.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::size_t digits = 0;
    std::size_t at = 0;
    for (; at < text.size() && is_digit(text[at]); ++at, ++digits) {
        number.whole = std::min(number.whole * 10 + (text[at] - '0'), kSaturated);
        number.nonzero = number.nonzero || text[at] != '0';
    }
    if (at < text.size() && text[at] == '.') {
        const std::size_t first = ++at;
        for (; at < text.size() && is_digit(text[at]); ++at, ++digits) {
            number.nonzero = number.nonzero || text[at] != '0';
        }
        number.fraction = classify_fraction(text.substr(first, at - first));
    }
    if (digits == 0 || at != text.size()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace

std::optional<std::int16_t> parse_integer16(std::string_view text) {
    const auto number = scan_number(text);
    if (!number) {
        return std::nullopt;
    }
    long whole = number->whole;
    // Rounding the magnitude keeps halves symmetric: -2.5 gives -2 as 2.5 gives 2.
    if (number->fraction == Fraction::AboveHalf ||
        (number->fraction == Fraction::Half && whole % 2 == 1)) {
        ++whole;
    }
    const long value = number->negative ? -whole : whole;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value);
}

std::optional<bool> parse_boolean(std::string_view text) {
    const std::string_view word = util::trim_blanks(text);
    if (equals_ignoring_case(word, "true")) {
        return true;
    }
    if (equals_ignoring_case(word, "false")) {
        return false;
    }
    // Any number that is not zero is true, however small or large: a flag
    // has no range to keep to and nothing to round.
    if (const auto number = scan_number(word)) {
        return number->nonzero;
    }
    return std::nullopt;
}

std::string format_integer16(std::int16_t value) {
    return std::to_string(value);
}

std::string format_boolean(bool value) {
    return value ? "True" : "False";
}

}  // namespace util
