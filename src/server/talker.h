#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/events.h"
#include "platform/forms/label.h"
#include "platform/metrics.h"
#include "platform/winsock.h"
#include "ui/status_log.h"

namespace server {

// An operator's message on its way: where its text comes from when its
// connection opens, and who learns that it has gone.
class OutgoingMessage {
  public:
    virtual ~OutgoingMessage() = default;
    virtual std::string text() const = 0;
    // The text has been handed to the connection.
    virtual void sent() = 0;
};

// The one outgoing socket WS_TALKER: opens a connection to one client at a
// time and sends it the status reply or an operator's message. A new
// delivery always replaces one still under way.
class Talker {
  public:
    static constexpr std::int16_t nothing = 0;
    static constexpr std::int16_t status_reply = 1;
    static constexpr std::int16_t operator_message = 2;
    static constexpr std::int16_t message_port = 2519;

    Talker(platform::Winsock& socket, ui::StatusLog& log, platform::Events& events,
           std::function<std::string()> status_code, const platform::Label& last_dial,
           platform::Metrics& metrics);

    // Starts a status reply to address at port.
    void start_status(const std::string& address, std::int16_t port);
    // Starts an operator's message to address, always at port 2519. The
    // talker holds the message until it is sent or a later start drops it.
    void start_message(const std::string& address, std::shared_ptr<OutgoingMessage> message);

    // The main window's hidden test button: a status reply to a fixed address.
    void SEND_STATUS_BUTTON_Click(std::int16_t port);

    std::int16_t TALKER_MODE() const { return mode_; }
    void reset() { mode_ = nothing; }

  private:
    void WS_TALKER_Connect();
    void send_on_connect();
    void WS_TALKER_SendComplete();
    void WS_TALKER_Error();
    void connect();
    // Ends the delivery that started as number `started`, unless another
    // has started since: that one is still to be sent.
    void finish(unsigned long started);

    platform::Winsock& socket_;
    ui::StatusLog& log_;
    platform::Events& events_;
    std::function<std::string()> status_code_;
    const platform::Label& last_dial_;
    platform::Metrics& metrics_;
    std::shared_ptr<OutgoingMessage> message_;
    std::int16_t mode_ = nothing;
    // Counts the delivery starts.
    unsigned long starts_ = 0;
};

}  // namespace server
