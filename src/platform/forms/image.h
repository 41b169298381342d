#pragma once

#include <string>

#include "platform/forms/control.h"

namespace platform {

// A picture on a form. The picture is named; the view decides how a name
// becomes an image. Images never take the focus; where two overlap, the one
// declared later is drawn on top.
class Image : public Control {
  public:
    using Control::Control;

    const std::string& picture() const { return picture_; }
    void set_picture(const std::string& picture) {
        picture_ = picture;
        changed(Change::Picture);
    }

    bool takes_focus() const override { return false; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    std::string picture_;
};

// A filled rectangle, such as a signal lamp.
class Shape : public Control {
  public:
    using Control::Control;

    Color fill_color() const { return fill_color_; }
    void set_fill_color(Color color) {
        fill_color_ = color;
        changed(Change::Colors);
    }

    bool takes_focus() const override { return false; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    Color fill_color_ = colors::black;
};

}  // namespace platform
