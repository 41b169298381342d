#pragma once

#include <functional>
#include <string>

#include "platform/forms/control.h"

namespace platform {

// What a button shares: a click that runs its handler.
class Button : public Control {
  public:
    using Control::Control;

    // The handler run by click().
    void on_click(std::function<void()> handler) { click_ = std::move(handler); }
    // Runs the click handler, as a press by the user does.
    void click() const {
        // A copy: the handler may close and destroy the form of this button.
        if (auto handler = click_) {
            handler();
        }
    }

    bool takes_focus() const override { return true; }

  private:
    std::function<void()> click_;
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

// A push button that shows a picture and no text. The picture is named; the
// view decides how a name becomes an image.
class PictureButton : public Button {
  public:
    using Button::Button;

    const std::string& picture() const { return picture_; }
    void set_picture(const std::string& picture) {
        picture_ = picture;
        changed(Change::Picture);
    }

    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    std::string picture_;
};

}  // namespace platform
