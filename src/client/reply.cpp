#include "client/reply.h"

#include <array>
#include <cstdint>

#include "server/listener_sessions.h"
#include "util/cp1252.h"

namespace client {

namespace {

struct StatusCode {
    std::string_view code;
    LinkState state;
    Signal signal;
};

// The server sends the dialing code also while it dials without a signal, so
// that code says nothing about the signal.
constexpr std::array<StatusCode, 5> status_codes = {{
    {"STATUS-CONNSIGOK", LinkState::online, Signal::present},
    {"STATUS-DISCSIGOK", LinkState::offline, Signal::present},
    {"STATUS-DIALSIGOK", LinkState::dialing, Signal::not_reported},
    {"STATUS-CONNNOSIG", LinkState::online, Signal::absent},
    {"STATUS-DISCNOSIG", LinkState::offline, Signal::absent},
}};
constexpr std::size_t code_length = 16;
constexpr std::string_view message_keyword = "MESSAG";

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// "na", or a time as the server writes it: "h:mmam/pm", the hour 1 to 12
// without a leading zero.
bool is_dial_time(std::string_view text) {
    if (text == "na") {
        return true;
    }
    const std::size_t colon = text.find(':');
    if (colon != 1 && colon != 2) {
        return false;
    }
    const std::string_view hour = text.substr(0, colon);
    if (!is_digit(hour[0]) || hour[0] == '0' || (hour.size() == 2 && !is_digit(hour[1]))) {
        return false;
    }
    const int hours = hour.size() == 1 ? hour[0] - '0' : (hour[0] - '0') * 10 + (hour[1] - '0');
    const std::string_view rest = text.substr(colon + 1);
    return hours <= 12 && rest.size() == 4 && rest[0] >= '0' && rest[0] <= '5' &&
           is_digit(rest[1]) && (rest.substr(2) == "am" || rest.substr(2) == "pm");
}

std::optional<std::string> last_dial_of(std::string_view time) {
    if (time == "na") {
        return std::nullopt;
    }
    return std::string(time);
}

// Bytes that a terminal would act on become '?'; CR LF and a lone CR become a
// line end, or '?' too where the text must stay on one line.
std::string safe_text(std::string_view bytes, bool keep_line_ends) {
    std::string safe;
    safe.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            safe += keep_line_ends ? '\n' : '?';
        } else if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            safe += '?';
        } else if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) {
            // The code page leaves these empty; they would be C1 controls.
            safe += '?';
        } else {
            safe += static_cast<char>(byte);
        }
    }
    return util::from_cp1252(safe);
}

std::string_view state_words(LinkState state) {
    switch (state) {
        case LinkState::online:
            return "online";
        case LinkState::offline:
            return "offline";
        case LinkState::dialing:
            return "dialing";
    }
    return "";
}

std::string_view signal_words(Signal signal) {
    switch (signal) {
        case Signal::present:
            return "signal present";
        case Signal::absent:
            return "no signal";
        case Signal::not_reported:
            return "signal not reported";
    }
    return "";
}

std::string last_dial_words(const Reply& reply) {
    return "last dial " + reply.last_dial.value_or("never");
}

}  // namespace

Reply interpret_reply(std::string_view bytes) {
    Reply reply;
    reply.received = std::string(bytes);
    if (bytes.substr(0, message_keyword.size()) == message_keyword) {
        reply.kind = Reply::Kind::message;
        reply.message = util::from_cp1252(bytes.substr(message_keyword.size()));
        return reply;
    }
    for (const StatusCode& known : status_codes) {
        if (bytes.substr(0, code_length) == known.code) {
            if (is_dial_time(bytes.substr(code_length))) {
                reply.kind = Reply::Kind::status;
                reply.code = known.code;
                reply.state = known.state;
                reply.signal = known.signal;
                reply.last_dial = last_dial_of(bytes.substr(code_length));
            }
            return reply;
        }
    }
    if (is_dial_time(bytes)) {
        reply.kind = Reply::Kind::status_not_known;
        reply.last_dial = last_dial_of(bytes);
    }
    return reply;
}

bool is_busy_notice(std::string_view bytes) {
    std::string_view notice = server::ListenerSessions::overflow_notice;
    // The line end is not needed to recognise it.
    notice = notice.substr(0, notice.find('\r'));
    return bytes.substr(0, notice.size()) == notice;
}

std::string describe(const Reply& reply) {
    const std::string_view bytes = reply.received;
    switch (reply.kind) {
        case Reply::Kind::status:
            return std::string(state_words(reply.state)) + ", " +
                   std::string(signal_words(reply.signal)) + ", " + last_dial_words(reply);
        case Reply::Kind::status_not_known:
            return "status not known yet, " + last_dial_words(reply);
        case Reply::Kind::message:
            return safe_text(bytes.substr(message_keyword.size()), true);
        case Reply::Kind::not_understood:
            break;
    }
    std::string quoted = "\"";
    quoted += safe_text(bytes, false);
    quoted += '"';
    return quoted;
}

std::string arrival_line(const Reply& reply) {
    switch (reply.kind) {
        case Reply::Kind::status:
        case Reply::Kind::status_not_known:
            return "status: " + describe(reply);
        case Reply::Kind::message: {
            std::string line = "message: ";
            for (const char c : describe(reply)) {
                line += c;
                if (c == '\n') {
                    line += "  ";
                }
            }
            return line;
        }
        case Reply::Kind::not_understood:
            break;
    }
    return "not understood: " + describe(reply);
}

std::string raw_text(const Reply& reply) {
    return util::from_cp1252(reply.received);
}

}  // namespace client
