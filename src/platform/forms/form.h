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

    // The outer height, title bar and border included, in twips. Desktops
    // draw frames of every size, so the frame is taken to be the 375 twips
    // the program was laid out for, whatever the real decoration.
    static constexpr int frame_height = 375;
    int height() const { return client_height_ + frame_height; }
    void set_height(int height) { set_client_size(client_width_, height - frame_height); }

    // The window's left and top edges on the screen, in twips. Until the
    // program or the user places it, the desktop chooses (placed() is false).
    int left() const { return left_; }
    int top() const { return top_; }
    bool placed() const { return placed_; }
    void move(int left, int top);
    // Called by a view when the user or the desktop has moved the window.
    void moved_to(int left, int top);

    // How the window is framed: a fixed single border with a title bar, a
    // fixed dialog border without caption text, or a small tool-window
    // title bar. None of them lets the user resize the window.
    enum class Border { Single, Dialog, Tool };
    Border border() const { return border_; }
    void set_border(Border border) { border_ = border; }
    // Whether the window is kept above every other program's windows.
    bool stays_on_top() const { return stays_on_top_; }
    void set_stays_on_top(bool on_top);
    // Whether the window first appears in the middle of the screen (else the
    // desktop places it, unless the program has moved it).
    bool centered() const { return centered_; }
    void set_centered(bool centered) { centered_ = centered; }

    // A picture drawn over the whole client area, by name; empty for none.
    const std::string& picture() const { return picture_; }
    void set_picture(const std::string& picture);

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

    // The handlers of the user's actions on the form itself (not on a control):
    // a click on its surface, a key pressed while it has the focus, and the
    // request to close it (the title bar's button, the desktop). A form
    // closes only when its owner closes it.
    void on_click(std::function<void()> handler) { click_ = std::move(handler); }
    void on_key_press(std::function<void()> handler) { key_press_ = std::move(handler); }
    void on_close_request(std::function<void()> handler) { close_request_ = std::move(handler); }
    // Called by a view for those actions.
    void clicked() const;
    void key_pressed() const;
    void close_requested() const;

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
    int left_ = 0;
    int top_ = 0;
    bool placed_ = false;
    Border border_ = Border::Single;
    bool centered_ = false;
    bool stays_on_top_ = false;
    std::string picture_;
    std::function<void()> click_;
    std::function<void()> key_press_;
    std::function<void()> close_request_;
    std::vector<Control*> controls_;
    Control* focused_ = nullptr;
    Notifier notifier_;
};

}  // namespace platform
