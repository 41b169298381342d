#pragma once

#include <string>

#include "platform/forms/control.h"

namespace platform {

// What a button shares: it takes the focus, and a press runs its click handler.
class Button : public Control {
  public:
    using Control::Control;

    bool takes_focus() const override { return true; }
};

// A push button with a text caption.
class CommandButton : public Button {
  public:
    using Button::Button;

    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& caption) {
        caption_ = caption;
        changed(Change::Caption);
    }

    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    std::string caption_;
};

// A push button that shows a picture, and a caption beneath it if it has
// one. The picture is named; the view decides how a name becomes an image.
class PictureButton : public Button {
  public:
    using Button::Button;

    const std::string& picture() const { return picture_; }
    void set_picture(const std::string& picture) {
        picture_ = picture;
        changed(Change::Picture);
    }

    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& caption) {
        caption_ = caption;
        changed(Change::Caption);
    }

    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    std::string picture_;
    std::string caption_;
};

}  // namespace platform
