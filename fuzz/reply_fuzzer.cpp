// Feeds arbitrary bytes to the client's reading of what a server sends to its
// reply port. Besides crashes and sanitizer reports, it checks what the
// client's output relies on: a status reply is exactly a known code and a
// dial time, a message is exactly what followed "MESSAG", the raw text is the
// bytes unchanged, and no text meant for people carries a control character
// that a terminal would act on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "client/reply.h"
#include "util/cp1252.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// No C0 control but tab (and line ends where allowed), no DEL, no C1 control.
void require_safe(std::string_view text, bool line_ends_allowed) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(text[i]);
        if (byte == '\n') {
            require(line_ends_allowed);
            continue;
        }
        require(byte >= 0x20 || byte == '\t');
        require(byte != 0x7F);
        if (byte == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<std::uint8_t>(text[i + 1]);
            require(next < 0x80 || next > 0x9F);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const client::Reply reply = client::interpret_reply(bytes);

    require(reply.received == bytes);
    require(util::to_cp1252(client::raw_text(reply)) == bytes);

    switch (reply.kind) {
        case client::Reply::Kind::status:
            require(reply.code.size() == 16 && reply.code.rfind("STATUS-", 0) == 0);
            require(bytes == reply.code + reply.last_dial.value_or("na"));
            break;
        case client::Reply::Kind::status_not_known:
            require(bytes == reply.last_dial.value_or("na"));
            break;
        case client::Reply::Kind::message:
            require(bytes.substr(0, 6) == "MESSAG");
            require(util::to_cp1252(reply.message) == bytes.substr(6));
            break;
        case client::Reply::Kind::not_understood:
            break;
    }
    const bool several_lines = reply.kind == client::Reply::Kind::message;
    require_safe(client::describe(reply), several_lines);
    require_safe(client::arrival_line(reply), several_lines);
    // Whatever it is, it may be the busy notice or not; it must not crash.
    static_cast<void>(client::is_busy_notice(bytes));
    return 0;
}
