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

    // How a caption too long for one line is broken into the label's box.
    enum class Wrap {
        // At blanks and hyphens, as prose is.
        Words,
        // At any character, and what still does not fit is left out of the
        // middle, marked "…": a path, whose start and end both matter.
        Anywhere,
    };
    Wrap wrap() const { return wrap_; }
    void set_wrap(Wrap wrap) {
        wrap_ = wrap;
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
    Wrap wrap_ = Wrap::Words;
    bool transparent_ = false;
};

}  // namespace platform
