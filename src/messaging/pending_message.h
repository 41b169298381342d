#pragma once

#include <functional>
#include <string>

#include "server/talker.h"

namespace messaging {

// A message on its way, from the press of Send until it is sent or dropped.
// Its text is the one the window held when Send was pressed, so nothing the
// operator does with the window meanwhile (closing it, opening a new one and
// writing another message there) changes or loses it. Once sent, it closes
// the window that pressed Send, if that one is still open.
class PendingMessage : public server::OutgoingMessage {
  public:
    // close_window closes the window that started the message.
    PendingMessage(std::string text, std::function<void()> close_window);

    std::string text() const override { return text_; }
    // Closes the window that started the message, if it is still open.
    void sent() override;
    // That window has closed: a window opened later is not this message's.
    void window_closed() { close_window_ = nullptr; }

  private:
    std::string text_;
    std::function<void()> close_window_;
};

}  // namespace messaging
