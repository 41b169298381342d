#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace util {

// Conversions between the program's values and the text that users and the
// settings file hold. Reading is forgiving in the ways a hand edit needs;
// writing always produces the one plain form that reading accepts.
//
// A number reads as: blanks (space or tab) around it allowed; an optional '+'
// or '-' right before the digits; decimal digits with an optional '.' and
// fraction, at least one digit in all ("7", "7.", ".5", "007" are numbers).
// A fraction rounds to the nearest whole number and a half to the even
// neighbour, decided on the exact decimal text, not a binary approximation
// (2509.5 gives 2510, 2510.5 gives 2510, -0.5 gives 0). The result must lie in
// -32768..32767. Anything else fails: empty text, blanks inside the number or
// after the sign, exponents ("1e3"), hexadecimal ("0x10", "&H10"), thousands
// separators ("1,000"), non-ASCII digits.
std::optional<std::int16_t> parse_integer16(std::string_view text);

// "True" or "False" in any letter case with blanks around allowed, or a
// number written as above: zero (in any form, "0", "-0.00") is false and any
// other number true, with neither rounding nor a range ("0.4" and "40000" are
// true). Other words ("yes", "on") fail.
std::optional<bool> parse_boolean(std::string_view text);

// Decimal digits, '-' in front when negative; nothing else.
std::string format_integer16(std::int16_t value);
// "True" or "False".
std::string format_boolean(bool value);

}  // namespace util
