#pragma once

#include <functional>
#include <string>

#include "platform/forms/text_box.h"
#include "server/talker.h"

namespace messaging {

// A message on its way, from the press of Send until it is sent or dropped.
// It belongs to the window whose Send button started it: while that window
// is open, its text is read when the connection opens; once that window has
// closed, the text as it stood then is sent. A window opened later writes
// another message, which this one neither reads nor closes.
class PendingMessage : public server::OutgoingMessage {
  public:
    // close_window closes the window that started the message.
    PendingMessage(const platform::TextBox& text, std::function<void()> close_window);

    std::string text() const override;
    // Closes the window that started the message, if it is still open.
    void sent() override;
    // That window is closing: the message keeps its text and lets go of it.
    void window_closed();

  private:
    const platform::TextBox* text_;
    std::function<void()> close_window_;
    std::string kept_;
};

}  // namespace messaging
