#include "platform/forms/form.h"

#include <algorithm>

#include "platform/failure.h"
#include "platform/forms/control.h"

namespace platform {

Form::Form(std::string name) : name_(std::move(name)) {}

void Form::set_caption(const std::string& caption) {
    caption_ = caption;
    notifier_.notify({Change::Caption});
}

void Form::set_stays_on_top(bool on_top) {
    stays_on_top_ = on_top;
    notifier_.notify({Change::Layer});
}

void Form::set_visible(bool visible) {
    visible_ = visible;
    notifier_.notify({Change::Visible});
}

void Form::set_client_size(int width, int height) {
    client_width_ = width;
    client_height_ = height;
    notifier_.notify({Change::Geometry});
}

void Form::move(int left, int top) {
    moved_to(left, top);
    notifier_.notify({Change::Geometry});
}

void Form::moved_to(int left, int top) {
    left_ = left;
    top_ = top;
    placed_ = true;
}

void Form::set_picture(const std::string& picture) {
    picture_ = picture;
    notifier_.notify({Change::Picture});
}

namespace {
// Runs a copy: a handler may close and destroy the very form it belongs to.
void run(std::function<void()> handler) {
    if (handler) {
        handler();
    }
}
}  // namespace

void Form::clicked() const {
    run(click_);
}

void Form::key_pressed() const {
    run(key_press_);
}

void Form::close_requested() const {
    run(close_request_);
}

void Form::set_back_color(Color color) {
    back_color_ = color;
    notifier_.notify({Change::Colors});
}

Control* Form::find(const std::string& name) const {
    const auto it = std::find_if(controls_.begin(), controls_.end(),
                                 [&](const Control* control) { return control->name() == name; });
    return it == controls_.end() ? nullptr : *it;
}

void Form::give_focus(Control& control) {
    if (&control.form() != this) {
        throw Failure("control " + control.name() + " is not on form " + name_);
    }
    if (!control.takes_focus() || !control.shown() || !control.enabled() || !visible_) {
        throw Failure("control " + control.name() + " cannot take the focus");
    }
    if (focused_ != &control) {
        move_focus(control);
    }
}

void Form::focus_received(Control& control) {
    if (&control.form() == this && focused_ != &control) {
        move_focus(control);
    }
}

void Form::move_focus(Control& control) {
    focused_ = &control;
    notifier_.notify({Change::Focus});
    control.raise_got_focus();
}

}  // namespace platform
