#include "messaging/pending_message.h"

#include <utility>

namespace messaging {

PendingMessage::PendingMessage(std::string text, std::function<void()> close_window)
    : text_(std::move(text)), close_window_(std::move(close_window)) {}

void PendingMessage::sent() {
    if (const std::function<void()> close = std::exchange(close_window_, nullptr)) {
        close();
    }
}

}  // namespace messaging
