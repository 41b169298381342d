#pragma once

#include <string>

#include "platform/forms/control.h"

namespace platform {

// A line of text the user reads but cannot change or focus.
class Label : public Control {
  public:
    using Control::Control;

    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& caption) {
        caption_ = caption;
        changed(Change::Caption);
    }

    // A transparent label shows the form's picture behind its text.
    bool transparent() const { return transparent_; }
    void set_transparent(bool transparent) {
        transparent_ = transparent;
        changed(Change::Colors);
    }

    bool takes_focus() const override { return false; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    std::string caption_;
    bool transparent_ = false;
};

}  // namespace platform
