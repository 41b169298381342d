#include "messaging/send_message.h"

#include <utility>

#include "platform/failure.h"

namespace messaging {

using platform::resume_next;

SendMessage::SendMessage(platform::Desktop& desktop, ui::StatusLog& log, server::Talker& talker,
                         platform::Events& events, const server::ClientTable& clients,
                         platform::Control& focus_parking)
    : log_(log),
      talker_(talker),
      events_(events),
      clients_(clients),
      focus_parking_(focus_parking),
      window_(desktop) {}

// A message still held by the talker then keeps its text and no longer
// reaches back here.
SendMessage::~SendMessage() {
    close_window();
}

// Failing steps are passed over.
void SendMessage::SEND_MESSAGE_BUTTON_Click() {
    resume_next([&] { focus_parking_.set_focus(); });
    resume_next([&] { window_.show([this] { return make_form(); }, [this] { close_window(); }); });
}

std::unique_ptr<SendMessageForm> SendMessage::make_form() {
    auto form = std::make_unique<SendMessageForm>();
    for (int i = 0; i < clients_.NUM_CLIENTS(); ++i) {
        resume_next(
            [&] { form->CLIENT_IP_ADDRESSES_COMBO_BOX.insert(i, clients_.CLIENT_IP_TABLE(i)); });
    }
    form->SEND_THE_MESSAGE_BUTTON.on_click([this] { SEND_THE_MESSAGE_BUTTON_Click(); });
    return form;
}

void SendMessage::SEND_THE_MESSAGE_BUTTON_Click() {
    SendMessageForm& form = *window_.form();
    const std::string address = form.CLIENT_IP_ADDRESSES_COMBO_BOX.text();
    if (address.empty()) {
        return;
    }
    resume_next([&] { log_.write("     Sending a message to Clients"); });
    auto message =
        std::make_shared<PendingMessage>(form.MESSAGE_TEXT.text(), [this] { close_window(); });
    std::erase_if(pending_, [](const auto& pending) { return pending.expired(); });
    pending_.push_back(message);
    talker_.start_message(address, std::move(message));
    events_.do_events();
    // The window stays open until the message has gone.
}

void SendMessage::close_window() {
    for (const auto& pending : std::exchange(pending_, {})) {
        if (const auto message = pending.lock()) {
            message->window_closed();
        }
    }
    window_.close();
}

}  // namespace messaging
