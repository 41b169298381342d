#include "platform/qt/form_renderer.h"

#include <QPalette>
#include <algorithm>

#include "platform/forms/control.h"
#include "platform/qt/control_view_factory.h"
#include "platform/qt/conversions.h"

namespace platform::qt {

FormRenderer::FormRenderer(platform::Form& form)
    : form_(form), window_(std::make_unique<QWidget>()) {
    window_->setObjectName(to_qstring(form_.name()));
    window_->setWindowTitle(to_qstring(form_.caption()));
    window_->setAutoFillBackground(true);
    show_size();
    show_color();
    // Created in the form's order, which Qt takes as the tab order.
    for (platform::Control* control : form_.controls()) {
        views_.push_back(make_control_view(*control, *window_));
    }
    subscription_ =
        form_.subscribe([this](const platform::ChangeEvent& event) { on_change(event); });
    show_visibility();
}

FormRenderer::~FormRenderer() = default;

QWidget* FormRenderer::widget_of(const platform::Control& control) const {
    const auto it = std::find_if(views_.begin(), views_.end(),
                                 [&](const auto& view) { return &view->control() == &control; });
    return it == views_.end() ? nullptr : &(*it)->widget();
}

void FormRenderer::on_change(const platform::ChangeEvent& event) {
    switch (event.what) {
        case platform::Change::Caption:
            window_->setWindowTitle(to_qstring(form_.caption()));
            break;
        case platform::Change::Visible:
            show_visibility();
            break;
        case platform::Change::Geometry:
            show_size();
            break;
        case platform::Change::Colors:
            show_color();
            break;
        case platform::Change::Focus:
            show_focus();
            break;
        default:
            break;
    }
}

void FormRenderer::show_visibility() {
    window_->setVisible(form_.visible());
    if (form_.visible()) {
        show_focus();
    }
}

void FormRenderer::show_size() {
    window_->setFixedSize(to_pixels(form_.client_width()), to_pixels(form_.client_height()));
}

void FormRenderer::show_color() {
    QPalette palette = window_->palette();
    palette.setColor(QPalette::Window, to_qcolor(form_.back_color()));
    window_->setPalette(palette);
}

void FormRenderer::show_focus() {
    if (const platform::Control* control = form_.focused()) {
        if (QWidget* widget = widget_of(*control)) {
            widget->setFocus(Qt::OtherFocusReason);
        }
    }
}

}  // namespace platform::qt
