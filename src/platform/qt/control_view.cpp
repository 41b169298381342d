#include "platform/qt/control_view.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include "platform/qt/conversions.h"
#include "platform/qt/focus_reporter.h"

namespace platform::qt {

ControlView::ControlView(platform::Control& control, QWidget& widget)
    : control_(control), widget_(widget) {
    widget_.setObjectName(to_qstring(control_.name()));
    widget_.setGeometry(to_qrect(control_.geometry()));
    widget_.setToolTip(to_qstring(control_.tooltip()));
    widget_.setEnabled(control_.enabled());
    widget_.setVisible(control_.visible());
    widget_.setAutoFillBackground(true);
    show_font();
    show_colors();
    show_pointer();
    if (control_.takes_focus()) {
        widget_.setFocusPolicy(Qt::StrongFocus);
        new FocusReporter(widget_, control_, relay_);
    } else {
        widget_.setFocusPolicy(Qt::NoFocus);
    }
    // The listener only runs when the model changes, never during our own
    // construction, so the virtual call reaches the finished subclass.
    subscription_ =
        control_.subscribe([this](const platform::ChangeEvent& event) { on_change(event); });
}

void ControlView::on_change(const platform::ChangeEvent& event) {
    switch (event.what) {
        case platform::Change::ToolTip:
            widget_.setToolTip(to_qstring(control_.tooltip()));
            break;
        case platform::Change::Visible:
            widget_.setVisible(control_.visible());
            break;
        case platform::Change::Enabled:
            widget_.setEnabled(control_.enabled());
            break;
        case platform::Change::Geometry:
            widget_.setGeometry(to_qrect(control_.geometry()));
            break;
        case platform::Change::Font:
            show_font();
            break;
        case platform::Change::Colors:
            show_colors();
            break;
        case platform::Change::Pointer:
            show_pointer();
            break;
        default:
            break;
    }
}

void ControlView::show_font() {
    widget_.setFont(to_qfont(control_.font(), QApplication::font(&widget_)));
}

void ControlView::show_pointer() {
    if (control_.pointer() == platform::Pointer::Hand) {
        widget_.setCursor(Qt::PointingHandCursor);
    } else {
        // Whatever the widget shows by nature: the arrow, or the text beam.
        widget_.unsetCursor();
    }
}

void ControlView::show_colors() {
    const QColor fore = to_qcolor(control_.fore_color());
    const QColor back = to_qcolor(control_.back_color());
    QPalette palette = widget_.palette();
    // The disabled group keeps the style's grey text, so that a disabled
    // control looks disabled whatever its colours.
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(group, role, fore);
        }
    }
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        palette.setColor(role, back);
    }
    widget_.setPalette(palette);
}

}  // namespace platform::qt
