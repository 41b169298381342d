#include "messaging/send_message.h"

#include "platform/failure.h"

namespace messaging {

using platform::resume_next;

SendMessage::SendMessage(platform::Desktop& desktop, ui::StatusLog& log, server::Talker& talker,
                         platform::Events& events, const server::ClientTable& clients,
                         platform::Control& focus_parking)
    : desktop_(desktop),
      log_(log),
      talker_(talker),
      events_(events),
      clients_(clients),
      focus_parking_(focus_parking) {
    talker_.set_message_source(this);
}

SendMessage::~SendMessage() {
    talker_.set_message_source(nullptr);
    if (form_) {
        desktop_.close(*form_);
    }
}

// Failing steps are passed over.
void SendMessage::SEND_MESSAGE_BUTTON_Click() {
    resume_next([&] { focus_parking_.set_focus(); });
    resume_next([&] {
        if (!form_) {
            form_ = std::make_unique<SendMessageForm>();
            for (int i = 0; i < clients_.NUM_CLIENTS(); ++i) {
                resume_next([&] {
                    form_->CLIENT_IP_ADDRESSES_COMBO_BOX.insert(i, clients_.CLIENT_IP_TABLE(i));
                });
            }
            form_->SEND_THE_MESSAGE_BUTTON.on_click([this] { SEND_THE_MESSAGE_BUTTON_Click(); });
            form_->on_close_request([this] { close_form(); });
            desktop_.open(*form_);
        }
        form_->set_visible(true);
    });
}

void SendMessage::SEND_THE_MESSAGE_BUTTON_Click() {
    const std::string address = form_->CLIENT_IP_ADDRESSES_COMBO_BOX.text();
    if (address.empty()) {
        return;
    }
    resume_next([&] { log_.write("     Sending a message to Clients"); });
    talker_.start_message(address);
    events_.do_events();
    // The window stays open; its text is read when the connection opens.
}

std::string SendMessage::message_text() {
    return form_ ? form_->MESSAGE_TEXT.text() : kept_text_;
}

void SendMessage::message_sent() {
    close_form();
}

void SendMessage::close_form() {
    if (!form_) {
        return;
    }
    kept_text_ = form_->MESSAGE_TEXT.text();
    desktop_.close(*form_);
    form_.reset();
}

}  // namespace messaging
