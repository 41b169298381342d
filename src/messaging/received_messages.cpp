#include "messaging/received_messages.h"

#include "platform/failure.h"
#include "util/time_format.h"

namespace messaging {

ReceivedMessages::ReceivedMessages(platform::Desktop& desktop, const platform::Clock& clock,
                                   ui::TrayDisplay& tray, const ui::MainWindow& window)
    : desktop_(desktop), clock_(clock), tray_(tray), window_(window) {}

ReceivedMessages::~ReceivedMessages() {
    if (form_) {
        desktop_.close(*form_);
    }
}

void ReceivedMessages::show_message(const std::string& address, const std::string& message) {
    if (!form_) {
        form_ = std::make_unique<ReceivedMessagesForm>();
        form_->on_close_request([this] { RECEIVED_MESSAGES_FORM_Unload(); });
        form_->set_visible(true);
        desktop_.open(*form_);
    }
    form_->set_visible(true);
    // Blocks follow each other directly: the next " Received at" comes right
    // after the previous block's line of hyphens.
    platform::TextBox& list = form_->MESSAGES_LIST;
    list.set_text(list.text() + " Received at " + util::log_time(clock_.time_of_day()) +
                  " from IP Address " + address + "...\r\n  " + message + "\r\n " +
                  std::string(105, '-'));
}

void ReceivedMessages::RECEIVED_MESSAGES_FORM_Unload() {
    tray_.show_skipping_failures(window_.DISH_SERVER_RUNNING_ICON, "Orvanta... getting DPC status",
                                 false);
    desktop_.close(*form_);
    form_.reset();
}

}  // namespace messaging
