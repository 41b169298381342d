#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::navsim {

// The text of navsim.state, through which operators and tests drive the
// simulated navigator control while the program runs.
//
//   # a comment            lines whose first non-blank character is '#'
//   signal = 1             key=value; blanks around key and value are ignored
//
// Lines may end in LF or CR LF, and a leading UTF-8 byte-order mark is skipped,
// so files saved by Windows editors work too. Keys are case-sensitive; unknown
// keys and lines without '=' are ignored, so the file can carry notes.
//
// A value must be a whole number from -32768 to 32767: optional '-', then
// decimal digits, nothing else. Anything else ("abc", "1.5", "+1", "40000", an
// empty value) leaves that key as it was, so a typo never resets the control
// behind the operator's back. When a key repeats, the last valid value wins,
// as it would if the operator had appended a line to override an earlier one.
//
// Keys:
//   signal        what SignalStatus returns (default 1)
//   connection    what ConnectionStatus returns (default 2)
//   dial_seconds  how long a dial shows 3 before it completes (default 3;
//                 a negative value counts as 0)
//   fail          any value other than 0 makes every operation of the control
//                 fail (default 0). The number is kept as written rather than
//                 folded to 0/1, so the simulation never rewrites it.
struct StateValues {
    std::int16_t signal = 1;
    std::int16_t connection = 2;
    std::int16_t dial_seconds = 3;
    std::int16_t fail = 0;

    bool failing() const { return fail != 0; }

    bool operator==(const StateValues&) const = default;
};

// The values in `text`, each key that the text does not set validly keeping
// its value from `previous`.
StateValues parse_state(std::string_view text, const StateValues& previous);

// The whole file for `values`: a comment header explaining the keys, then the
// keys in the order signal, connection, dial_seconds, fail, LF-terminated.
std::string format_state(const StateValues& values);

}  // namespace platform::navsim
