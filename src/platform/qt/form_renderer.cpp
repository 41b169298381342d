#include "platform/qt/form_renderer.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "platform/forms/control.h"
#include "platform/forms/frame.h"
#include "platform/guarded.h"
#include "platform/qt/control_view_factory.h"
#include "platform/qt/conversions.h"
#include "platform/qt/native_title.h"

namespace platform::qt {

FormRenderer::FormRenderer(platform::Form& form)
    : form_(form), window_(std::make_unique<FormWindow>()) {
    // Flags first: changing them later would hide a shown window.
    apply_border();
    window_->setObjectName(to_qstring(form_.name()));
    show_title();
    window_->setAutoFillBackground(true);
    window_->set_picture(form_.picture());
    show_size();
    show_position();
    show_color();
    // Created in the form's order, which Qt takes as the tab order, also for
    // the controls inside frames. A frame comes before its controls, so its
    // widget is there to hold theirs.
    for (platform::Control* control : form_.controls()) {
        QWidget* parent = control->frame() != nullptr ? widget_of(*control->frame()) : nullptr;
        views_.push_back(make_control_view(*control, parent != nullptr ? *parent : *window_));
    }
    window_->react({
        .clicked =
            [this] {
                guarded({"click on", form_.name()}, [this] { form_.clicked(); });
            },
        .key_pressed =
            [this] {
                guarded({"key press on", form_.name()}, [this] { form_.key_pressed(); });
            },
        .close_requested =
            [this] {
                guarded({"close request on", form_.name()}, [this] { form_.close_requested(); });
            },
        .moved = [this](QPoint frame_position) { report_move(frame_position); },
    });
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

void FormRenderer::detach() {
    subscription_ = {};
    window_->react({});
    window_->hide();
    // A disabled window passes no input on to the controls' widgets, whose
    // views still point at the controls.
    window_->setEnabled(false);
}

void FormRenderer::apply_border() {
    // Every border keeps the window at its size: show_size fixes it.
    switch (form_.border()) {
        case platform::Form::Border::Single:
            window_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                    Qt::WindowCloseButtonHint);
            break;
        case platform::Form::Border::Dialog:
            // No caption text means no title bar at all.
            window_->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
            break;
        case platform::Form::Border::Tool:
            window_->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowCloseButtonHint);
            break;
    }
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, form_.stays_on_top());
}

void FormRenderer::show_layer() {
    Qt::WindowFlags flags = window_->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, form_.stays_on_top());
    QWindow* native = window_->windowHandle();
    if (native == nullptr) {
        window_->setWindowFlags(flags);
        return;
    }
    // Changing a shown widget's flags would hide it and make its window
    // anew; the native window takes the change as it is.
    window_->overrideWindowFlags(flags);
    native->setFlags(flags);
}

void FormRenderer::show_title() {
    window_->setWindowTitle(to_qstring(form_.caption()));
    if (form_.caption().empty()) {
        clear_native_title(*window_);
    }
}

void FormRenderer::on_change(const platform::ChangeEvent& event) {
    switch (event.what) {
        case platform::Change::Caption:
            show_title();
            break;
        case platform::Change::Layer:
            show_layer();
            break;
        case platform::Change::Visible:
            show_visibility();
            break;
        case platform::Change::Geometry:
            show_size();
            show_position();
            break;
        case platform::Change::Colors:
            show_color();
            break;
        case platform::Change::Picture:
            window_->set_picture(form_.picture());
            break;
        case platform::Change::Focus:
            show_focus();
            break;
        default:
            break;
    }
}

void FormRenderer::show_visibility() {
    const bool centring = form_.visible() && !shown_before_ && !form_.placed() && form_.centered();
    if (form_.visible()) {
        shown_before_ = true;
    }
    if (centring) {
        center_on_screen();
    }
    if (form_.visible() && form_.caption().empty()) {
        // Made before it is shown, so that its title is empty from the start.
        window_->winId();
        clear_native_title(*window_);
    }
    window_->setVisible(form_.visible());
    if (centring) {
        // Where the frame became known with the show, centre that instead.
        center_on_screen();
    }
    if (form_.visible()) {
        show_focus();
    }
}

void FormRenderer::show_size() {
    window_->setFixedSize(to_pixels(form_.client_width()), to_pixels(form_.client_height()));
}

void FormRenderer::show_position() {
    if (form_.placed()) {
        window_->place({to_pixels(form_.left()), to_pixels(form_.top())});
    }
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

void FormRenderer::center_on_screen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    // Before the first show the frame is not known yet; then the client
    // area is centred, off by half a title bar at most.
    const QRect area = screen->availableGeometry();
    const QSize frame = window_->frameGeometry().size();
    const QPoint middle(area.x() + (area.width() - frame.width()) / 2,
                        area.y() + (area.height() - frame.height()) / 2);
    window_->place(middle);
    // The desktop has placed the window; from now on the form knows where.
    form_.moved_to(middle.x() * twips_per_pixel, middle.y() * twips_per_pixel);
}

void FormRenderer::report_move(QPoint frame_position) {
    // The model may hold the place more finely than in whole pixels: a
    // report of where it already is would only round it.
    const QPoint modelled(to_pixels(form_.left()), to_pixels(form_.top()));
    if (form_.placed() && frame_position == modelled) {
        return;
    }
    guarded({"move of", form_.name()}, [&] {
        form_.moved_to(frame_position.x() * twips_per_pixel, frame_position.y() * twips_per_pixel);
    });
}

}  // namespace platform::qt
