#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace client {

enum class LinkState { online, offline, dialing };
enum class Signal { present, absent, not_reported };

// One text that the server sent to the reply port, taken apart. The server
// sends either a status reply (a 16-character code such as
// "STATUS-CONNSIGOK" followed by the last dial time, "na" or "h:mmam/pm"; the
// code is missing until the server has first classified its link) or an
// operator's message ("MESSAG" followed by the text).
struct Reply {
    enum class Kind { status, status_not_known, message, not_understood };

    Kind kind = Kind::not_understood;
    // The bytes as received, Windows-1252.
    std::string received;
    // status: the code and what it says.
    std::string code;
    LinkState state = LinkState::offline;
    Signal signal = Signal::not_reported;
    // status and status_not_known: the last dial, or nothing for "na".
    std::optional<std::string> last_dial;
    // message: the text after "MESSAG", in UTF-8.
    std::string message;
};

// Interprets bytes as received (Windows-1252). Never fails: what is no status
// reply and no message is not_understood.
Reply interpret_reply(std::string_view bytes);

// Whether bytes received on the request connection are the server's notice
// that it serves as many clients as it can and has dropped this one.
bool is_busy_notice(std::string_view bytes);

// The reply as a line for people, such as "online, signal present, last dial
// 9:05pm"; for a message its text. Received text is made safe for a terminal:
// control characters other than tabs and line ends become '?'.
std::string describe(const Reply& reply);

// What listen prints for one arrival: "status: ", "message: " or "not
// understood: " and the description; the further lines of a message are
// indented by two blanks. No final line end.
std::string arrival_line(const Reply& reply);

// The received text unchanged but for the conversion to UTF-8; for --raw.
std::string raw_text(const Reply& reply);

}  // namespace client
