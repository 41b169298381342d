#include "server/talker.h"

#include "platform/failure.h"
#include "util/cp1252.h"

namespace server {

Talker::Talker(platform::Winsock& socket, ui::StatusLog& log, platform::Events& events,
               std::function<std::string()> status_code, const platform::Label& last_dial,
               platform::Metrics& metrics)
    : socket_(socket),
      log_(log),
      events_(events),
      status_code_(std::move(status_code)),
      last_dial_(last_dial),
      metrics_(metrics) {
    socket_.on_Connect([this] { WS_TALKER_Connect(); });
    socket_.on_SendComplete([this] { WS_TALKER_SendComplete(); });
    socket_.on_Error([this](int, const std::string&) { WS_TALKER_Error(); });
}

// A delivery start closes whatever is under way, so a delivery that has not
// sent its text yet is dropped. Its steps fail into the error report.
void Talker::start_status(const std::string& address, std::int16_t port) {
    ++starts_;
    mode_ = status_reply;
    message_.reset();
    try {
        socket_.Close();
        socket_.set_RemotePort(port);
        socket_.set_RemoteHost(address);
        connect();
    } catch (const platform::Failure&) {
        WS_TALKER_Error();
    }
}

void Talker::start_message(const std::string& address, std::shared_ptr<OutgoingMessage> message) {
    ++starts_;
    message_ = std::move(message);
    try {
        socket_.Close();
        socket_.set_RemotePort(message_port);
        socket_.set_RemoteHost(address);
        mode_ = operator_message;
        connect();
    } catch (const platform::Failure&) {
        WS_TALKER_Error();
    }
}

void Talker::connect() {
    // An address that cannot even be tried is reported like a failed connection.
    try {
        socket_.Connect();
    } catch (const platform::Failure&) {
        WS_TALKER_Error();
    }
}

void Talker::WS_TALKER_Connect() {
    try {
        send_on_connect();
    } catch (const platform::Failure&) {
        // The connection broke as it opened: the same as any failed delivery.
        WS_TALKER_Error();
    }
}

// Sending lets pending events run, and a request among them may start the
// next delivery; that one keeps its mode for its own connection. A text
// handed to the connection counts as sent: the socket sends what it holds
// even when a newer delivery closes it before SendComplete is told.
void Talker::send_on_connect() {
    const unsigned long started = starts_;
    if (mode_ == status_reply) {
        log_.write("     Sending data to a client", "     (IP:" + socket_.RemoteHostIP() + ")");
        // The code and the time as they are now, not when the request came in.
        socket_.SendData(util::to_cp1252(status_code_() + last_dial_.caption()));
        metrics_.delivery(true);
        events_.do_events();
        finish(started);
    } else if (mode_ == operator_message) {
        // Held here, as a delivery started among the pending events
        // replaces the talker's hold on it.
        const std::shared_ptr<OutgoingMessage> message = message_;
        socket_.SendData(util::to_cp1252("MESSAG" + (message ? message->text() : std::string())));
        metrics_.delivery(true);
        events_.do_events();
        if (message) {
            message->sent();
        }
        finish(started);
    }
    // Any other mode sends nothing; the connection stays open until the next start.
}

void Talker::finish(unsigned long started) {
    if (starts_ == started) {
        mode_ = nothing;
        message_.reset();
    }
}

void Talker::SEND_STATUS_BUTTON_Click(std::int16_t port) {
    log_.write("     Send status button", "     (IP: 10.34.53.100)");
    start_status("10.34.53.100", port);
}

void Talker::WS_TALKER_SendComplete() {
    socket_.Close();
}

void Talker::WS_TALKER_Error() {
    metrics_.delivery(false);
    log_.write("     Error...", "      Sending data to client!");
}

}  // namespace server
