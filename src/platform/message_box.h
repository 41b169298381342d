#pragma once

#include <string>

namespace platform {

enum class MessageIcon { Critical, Information };

// Modal message boxes with one OK button.
class MessageBox {
  public:
    MessageBox() = default;
    MessageBox(const MessageBox&) = delete;
    MessageBox& operator=(const MessageBox&) = delete;
    virtual ~MessageBox() = default;

    // Shows the message and returns when the user has pressed OK. Lines in
    // text are broken by LF CR; a doubled break leaves an empty line.
    virtual void show(MessageIcon icon, const std::string& title, const std::string& text) = 0;
};

}  // namespace platform
