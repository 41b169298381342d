#pragma once

#include <string>

namespace platform {

class Form;

enum class MessageIcon { Critical, Information };

// Message boxes with one OK button, each modal to the window it belongs to.
class MessageBox {
  public:
    MessageBox() = default;
    MessageBox(const MessageBox&) = delete;
    MessageBox& operator=(const MessageBox&) = delete;
    virtual ~MessageBox() = default;

    // Shows the message and returns when the user has pressed OK. Until then
    // the owner's window takes no input; other windows (the splash screen
    // beside start-up's boxes) still do. Lines in text are broken by LF CR;
    // a doubled break leaves an empty line.
    virtual void show(const Form& owner, MessageIcon icon, const std::string& title,
                      const std::string& text) = 0;
};

}  // namespace platform
