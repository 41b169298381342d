#include "messaging/pending_message.h"

#include <utility>

namespace messaging {

PendingMessage::PendingMessage(const platform::TextBox& text, std::function<void()> close_window)
    : text_(&text), close_window_(std::move(close_window)) {}

std::string PendingMessage::text() const {
    return text_ != nullptr ? text_->text() : kept_;
}

void PendingMessage::sent() {
    if (text_ != nullptr) {
        close_window_();
    }
}

void PendingMessage::window_closed() {
    if (text_ != nullptr) {
        kept_ = text_->text();
        text_ = nullptr;
    }
}

}  // namespace messaging
