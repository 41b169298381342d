#pragma once

#include <memory>
#include <string>

#include "messaging/message_forms.h"
#include "platform/desktop.h"
#include "platform/events.h"
#include "server/client_table.h"
#include "server/talker.h"
#include "ui/status_log.h"

namespace messaging {

// SEND_MESSAGE_FORM: the operator picks or types a client's address and
// writes a message, which goes out over the talker when its connection opens.
class SendMessage : public server::MessageSource {
  public:
    SendMessage(platform::Desktop& desktop, ui::StatusLog& log, server::Talker& talker,
                platform::Events& events, const server::ClientTable& clients,
                platform::Control& focus_parking);
    SendMessage(const SendMessage&) = delete;
    SendMessage& operator=(const SendMessage&) = delete;
    ~SendMessage() override;

    // The main window's SEND_MESSAGE_BUTTON: opens the window, or brings the
    // open one back without filling its list again.
    void SEND_MESSAGE_BUTTON_Click();

    // The window, while it is open.
    SendMessageForm* form() { return form_.get(); }

    // The message as it stands in the open window, or as it stood when the
    // operator closed the window, so that nothing typed is lost.
    std::string message_text() override;
    // Closes the window once its message has gone.
    void message_sent() override;

  private:
    void SEND_THE_MESSAGE_BUTTON_Click();
    void close_form();

    platform::Desktop& desktop_;
    ui::StatusLog& log_;
    server::Talker& talker_;
    platform::Events& events_;
    const server::ClientTable& clients_;
    platform::Control& focus_parking_;
    std::unique_ptr<SendMessageForm> form_;
    std::string kept_text_;
};

}  // namespace messaging
