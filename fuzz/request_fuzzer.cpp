// Feeds arbitrary bytes to the server as one client's request: once straight
// to the request handling, once through a session element that receives them
// in pieces and sees the client close. The main window is built once from the
// test doubles and started in full. Besides crashes and sanitizer reports, it
// checks what clients rely on: the bytes reach the handler unchanged, a
// status request is answered to the asking address, a message is shown, the
// element is free again afterwards, and the log keeps its size.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "app/form1.h"
#include "app/settings_file.h"
#include "fakes/fake_services.h"
#include "server/listener_sessions.h"
#include "util/cp1252.h"

namespace {

constexpr const char* direct_address = "10.9.9.9";
constexpr const char* session_address = "10.9.9.8";
constexpr std::int16_t transmit_port = 3001;
// The most distinct addresses the client table keeps.
constexpr int client_table_size = 51;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

struct Harness {
    Harness() {
        app::Settings settings;
        settings.LISTEN_PORT = 2509;
        settings.TRANSMIT_PORT = transmit_port;
        settings.DPC_HW_POLL_INTERVAL = 5;
        fake.files.put("/opt/orvanta/Orvanta.ini",
                       util::to_cp1252(app::format_settings(settings, "1/1/26")));
        form1 = std::make_unique<app::Form1>(fake.services());
        form1->Form_Load();
        require(form1->DPC_HW_POLL().enabled());
    }

    fakes::FakeWinsock& listener() { return *fake.network.sockets.at(0); }
    fakes::FakeWinsock& talker() { return *fake.network.sockets.at(1); }
    // Session element i (1 to 10), in the order start-up loaded them.
    fakes::FakeWinsock& element(int i) { return *fake.network.sockets.at(1 + i); }

    // The doubles remember every call; forget them so that memory stays flat.
    void forget_calls() {
        for (fakes::FakeWinsock* socket : fake.network.sockets) {
            socket->calls.clear();
            socket->sent.clear();
            socket->accepted.clear();
        }
        fake.desktop.calls.clear();
        fake.tray.calls.clear();
    }

    fakes::FakeServices fake;
    std::unique_ptr<app::Form1> form1;
    long request_id = 0;
};

// What the handler must have done with a request from address; the talker is
// left idle again.
void check_handled(Harness& harness, std::string_view bytes, const std::string& text,
                   const std::string& address) {
    const std::string_view keyword = bytes.substr(0, 6);
    fakes::FakeWinsock& talker = harness.talker();
    if (keyword == "STATUS") {
        require(talker.state == platform::Winsock::sckConnecting);
        require(talker.remote_host == address && talker.remote_port == transmit_port);
        const std::size_t sent_before = talker.sent.size();
        talker.connected();
        require(talker.sent.size() == sent_before + 1);
        require(talker.sent.back().rfind("STATUS-", 0) == 0);
        talker.send_complete();
        require(talker.state == platform::Winsock::sckClosed);
    } else {
        require(talker.state != platform::Winsock::sckConnecting);
    }
    messaging::ReceivedMessages& messages = harness.form1->received_messages();
    if (keyword == "MESSAG") {
        require(messages.form() != nullptr);
        const std::string& shown = messages.form()->MESSAGES_LIST.text();
        require(shown.find(address + "...\r\n  " + text.substr(6) + "\r\n") != std::string::npos);
    }
    // The window's text grows with every message; the operator closes it.
    if (messages.form() != nullptr) {
        messages.form()->close_requested();
    }
    require(messages.form() == nullptr);
    require(harness.form1->window().STATUS_LIST.count() <= ui::StatusLog::capacity);
    require(harness.form1->clients().NUM_CLIENTS() <= client_table_size);
}

// The client connects, sends the bytes in up to three pieces and closes.
void through_session(Harness& harness, std::string_view bytes, const std::string& text) {
    harness.listener().connection_request(++harness.request_id);
    fakes::FakeWinsock& session = harness.element(1);
    require(session.state == platform::Winsock::sckConnected);
    session.remote_host_ip = session_address;
    const std::size_t cut = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]) % 8;
    const std::size_t first = std::min(bytes.size(), cut);
    const std::size_t second = first + (bytes.size() - first) / 2;
    for (const std::string_view piece :
         {bytes.substr(0, first), bytes.substr(first, second - first), bytes.substr(second)}) {
        if (!piece.empty()) {
            session.incoming.assign(piece);
            session.data_arrival(static_cast<long>(piece.size()));
        }
    }
    session.state = platform::Winsock::sckClosing;
    session.closed();
    if (bytes.size() > server::ListenerSessions::buffer_limit) {
        // Too much: left unprocessed for the closer timer.
        require(session.state == platform::Winsock::sckClosing);
        harness.fake.timers.timers.at(1)->fire();
    } else {
        check_handled(harness, bytes, text, session_address);
    }
    require(session.state == platform::Winsock::sckClosed);
    require(harness.form1->listeners().WS_LISTENER_SCKDATA(1).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Harness harness;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = util::from_cp1252(bytes);
    require(util::to_cp1252(text) == bytes);

    harness.form1->PROCESS_DATA(text, direct_address);
    check_handled(harness, bytes, text, direct_address);
    through_session(harness, bytes, text);
    harness.forget_calls();
    return 0;
}
