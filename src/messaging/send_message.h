#pragma once

#include <memory>
#include <string>
#include <vector>

#include "messaging/message_forms.h"
#include "messaging/pending_message.h"
#include "platform/desktop.h"
#include "platform/events.h"
#include "server/client_table.h"
#include "server/talker.h"
#include "ui/single_window.h"
#include "ui/status_log.h"

namespace messaging {

// SEND_MESSAGE_FORM: the operator picks or types a client's address and
// writes a message, which goes out over the talker when its connection opens.
class SendMessage {
  public:
    SendMessage(platform::Desktop& desktop, ui::StatusLog& log, server::Talker& talker,
                platform::Events& events, const server::ClientTable& clients,
                platform::Control& focus_parking);
    SendMessage(const SendMessage&) = delete;
    SendMessage& operator=(const SendMessage&) = delete;
    ~SendMessage();

    // The main window's SEND_MESSAGE_BUTTON: opens the window, or brings the
    // open one forward without filling its list again.
    void SEND_MESSAGE_BUTTON_Click();

    // The window, while it is open.
    SendMessageForm* form() { return window_.form(); }

  private:
    std::unique_ptr<SendMessageForm> make_form();
    void SEND_THE_MESSAGE_BUTTON_Click();
    void close_window();

    ui::StatusLog& log_;
    server::Talker& talker_;
    platform::Events& events_;
    const server::ClientTable& clients_;
    platform::Control& focus_parking_;
    ui::SingleWindow<SendMessageForm> window_;
    // The messages the open window has started that may still be on their
    // way: they must learn when it closes.
    std::vector<std::weak_ptr<PendingMessage>> pending_;
};

}  // namespace messaging
