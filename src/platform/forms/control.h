#pragma once

#include <functional>
#include <string>

#include "platform/forms/appearance.h"
#include "platform/forms/notifier.h"

namespace platform {

class Form;
class Label;
class ListBox;
class CommandButton;
class PictureButton;
class Image;
class Shape;
class TextBox;
class ComboBox;
class CheckBox;
class Frame;

// Lets a view (the widget renderer, a test) tell the kinds of control apart.
class ControlVisitor {
  public:
    virtual ~ControlVisitor() = default;
    virtual void visit(Label& control) = 0;
    virtual void visit(ListBox& control) = 0;
    virtual void visit(CommandButton& control) = 0;
    virtual void visit(PictureButton& control) = 0;
    virtual void visit(Image& control) = 0;
    virtual void visit(Shape& control) = 0;
    virtual void visit(TextBox& control) = 0;
    virtual void visit(ComboBox& control) = 0;
    virtual void visit(CheckBox& control) = 0;
    virtual void visit(Frame& control) = 0;
};

// A control on a form: the state that every kind shares. A control registers
// with its form on construction and stays there for the form's life, so it
// must be a member of the form (or live exactly as long).
//
// A control may sit inside a frame of the same form: its place is then
// measured from the frame's top left corner, and it shows only while the
// frame does. The frame must be declared before the controls in it.
class Control {
  public:
    Control(Form& form, std::string name);
    Control(Frame& frame, std::string name);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const std::string& name() const { return name_; }
    Form& form() const { return form_; }
    // The frame this control sits in, or nullptr for one placed on the form.
    Frame* frame() const { return frame_; }

    const std::string& tooltip() const { return tooltip_; }
    void set_tooltip(const std::string& text);

    bool visible() const { return visible_; }
    void set_visible(bool visible);
    // Visible, and so is every frame around it.
    bool shown() const;

    bool enabled() const { return enabled_; }
    void set_enabled(bool enabled);

    const Geometry& geometry() const { return geometry_; }
    void set_geometry(const Geometry& geometry);

    const Font& font() const { return font_; }
    void set_font(const Font& font);

    Color fore_color() const { return fore_color_; }
    Color back_color() const { return back_color_; }
    void set_colors(Color fore, Color back);

    // The mouse pointer shown over the control.
    Pointer pointer() const { return pointer_; }
    void set_pointer(Pointer pointer);

    // The handler run by click(). A kind that is not a button reacts to a
    // click of the mouse only when it has one.
    void on_click(std::function<void()> handler) { click_ = std::move(handler); }
    bool has_click_handler() const { return static_cast<bool>(click_); }
    // Runs the click handler, as a click by the user does.
    void click() const {
        // A copy: the handler may close and destroy the form of this control.
        if (auto handler = click_) {
            handler();
        }
    }

    // Moves the keyboard focus here. Throws platform::Failure when the control
    // cannot take it: a kind that never does, hidden or disabled, or on a form
    // that is not shown.
    void set_focus();
    bool has_focus() const;
    // The handler run whenever the focus arrives here, from the user or from code.
    void on_got_focus(std::function<void()> handler) { got_focus_ = std::move(handler); }

    // Whether this kind of control can hold the keyboard focus at all.
    virtual bool takes_focus() const = 0;
    virtual void accept(ControlVisitor& visitor) = 0;

    [[nodiscard]] Subscription subscribe(ChangeListener listener) {
        return notifier_.subscribe(std::move(listener));
    }

  protected:
    void changed(Change what, int index = -1) const { notifier_.notify({what, index}); }

  private:
    friend class Form;
    void raise_got_focus() const;

    Form& form_;
    Frame* frame_ = nullptr;
    std::string name_;
    std::string tooltip_;
    bool visible_ = true;
    bool enabled_ = true;
    Geometry geometry_;
    Font font_;
    Color fore_color_ = colors::button_text;
    Color back_color_ = colors::button_face;
    Pointer pointer_ = Pointer::Arrow;
    std::function<void()> click_;
    std::function<void()> got_focus_;
    Notifier notifier_;
};

}  // namespace platform
