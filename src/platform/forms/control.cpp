#include "platform/forms/control.h"

#include "platform/forms/form.h"
#include "platform/forms/frame.h"

namespace platform {

Control::Control(Form& form, std::string name) : form_(form), name_(std::move(name)) {
    form_.add(*this);
}

Control::Control(Frame& frame, std::string name) : Control(frame.form(), std::move(name)) {
    frame_ = &frame;
}

bool Control::shown() const {
    return visible_ && (frame_ == nullptr || frame_->shown());
}

void Control::set_pointer(Pointer pointer) {
    pointer_ = pointer;
    changed(Change::Pointer);
}

void Control::set_tooltip(const std::string& text) {
    tooltip_ = text;
    changed(Change::ToolTip);
}

void Control::set_visible(bool visible) {
    visible_ = visible;
    changed(Change::Visible);
}

void Control::set_enabled(bool enabled) {
    enabled_ = enabled;
    changed(Change::Enabled);
}

void Control::set_geometry(const Geometry& geometry) {
    geometry_ = geometry;
    changed(Change::Geometry);
}

void Control::set_font(const Font& font) {
    font_ = font;
    changed(Change::Font);
}

void Control::set_colors(Color fore, Color back) {
    fore_color_ = fore;
    back_color_ = back;
    changed(Change::Colors);
}

void Control::set_focus() {
    form_.give_focus(*this);
}

bool Control::has_focus() const {
    return form_.focused() == this;
}

void Control::raise_got_focus() const {
    if (got_focus_) {
        got_focus_();
    }
}

}  // namespace platform
