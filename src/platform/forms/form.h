#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/appearance.h"
#include "platform/forms/notifier.h"

namespace platform {

class Control;

// A window as the logic sees it: a caption, a client area measured in twips
// and the controls on it, in the order they were declared (which is also
// their tab order). A view shows it and reports the user's actions back.
class Form {
  public:
    explicit Form(std::string name);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& caption);

    // Shown on screen (true) or hidden (false).
    bool visible() const { return visible_; }
    void set_visible(bool visible);

    int client_width() const { return client_width_; }
    int client_height() const { return client_height_; }
    void set_client_size(int width, int height);

    Color back_color() const { return back_color_; }
    void set_back_color(Color color);

    const std::vector<Control*>& controls() const { return controls_; }
    // The control with the given name, or nullptr.
    Control* find(const std::string& name) const;

    // The control that holds the keyboard focus, or nullptr.
    Control* focused() const { return focused_; }
    // Moves the focus to a control of this form; throws platform::Failure
    // when it cannot take the focus (see Control::set_focus).
    void give_focus(Control& control);

    // Called by a view when the user has moved the focus to a control.
    void focus_received(Control& control);

    [[nodiscard]] Subscription subscribe(ChangeListener listener) {
        return notifier_.subscribe(std::move(listener));
    }

  private:
    friend class Control;
    void add(Control& control) { controls_.push_back(&control); }
    void move_focus(Control& control);

    std::string name_;
    std::string caption_;
    bool visible_ = false;
    int client_width_ = 0;
    int client_height_ = 0;
    Color back_color_ = colors::button_face;
    std::vector<Control*> controls_;
    Control* focused_ = nullptr;
    Notifier notifier_;
};

}  // namespace platform
