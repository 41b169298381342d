#pragma once

#include <memory>
#include <string>

#include "messaging/message_forms.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "ui/main_window.h"
#include "ui/tray_display.h"

namespace messaging {

// Shows the messages that clients send in RECEIVED_MESSAGES_FORM, opening it
// for the first message. Closing the window discards them.
class ReceivedMessages {
  public:
    ReceivedMessages(platform::Desktop& desktop, const platform::Clock& clock,
                     ui::TrayDisplay& tray, const ui::MainWindow& window);
    ReceivedMessages(const ReceivedMessages&) = delete;
    ReceivedMessages& operator=(const ReceivedMessages&) = delete;
    ~ReceivedMessages();

    // Appends one message block, from the client at address.
    void show_message(const std::string& address, const std::string& message);

    // The window, while it is open.
    ReceivedMessagesForm* form() { return form_.get(); }

  private:
    void RECEIVED_MESSAGES_FORM_Unload();

    platform::Desktop& desktop_;
    const platform::Clock& clock_;
    ui::TrayDisplay& tray_;
    const ui::MainWindow& window_;
    std::unique_ptr<ReceivedMessagesForm> form_;
};

}  // namespace messaging
