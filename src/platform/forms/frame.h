#pragma once

#include <string>

#include "platform/forms/control.h"

namespace platform {

// A titled box that groups the controls declared in it. Hiding the frame
// hides them with it.
class Frame : public Control {
  public:
    using Control::Control;

    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& caption) {
        caption_ = caption;
        changed(Change::Caption);
    }

    bool takes_focus() const override { return false; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    std::string caption_;
};

}  // namespace platform
