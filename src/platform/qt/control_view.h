#pragma once

#include <QObject>

#include "platform/forms/control.h"

class QWidget;

namespace platform::qt {

// Keeps one widget in step with one control for what every kind of control
// shares: name, place, tooltip, visibility, enabled state, font, colours,
// mouse pointer and keyboard focus. A subclass per kind adds the rest. The
// widget belongs to the form's window; the view only steers it. When the view
// ends, the widget stops reaching the control, even while the window still
// exists.
class ControlView {
  public:
    ControlView(platform::Control& control, QWidget& widget);
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;
    virtual ~ControlView() = default;

    platform::Control& control() const { return control_; }
    QWidget& widget() const { return widget_; }

  protected:
    // Called for each change of the control, after construction is over.
    virtual void on_change(const platform::ChangeEvent& event);
    // The context of every connection and event filter that carries the
    // user's actions to the control: they end with the view.
    QObject& relay() { return relay_; }

  private:
    void show_font();
    void show_colors();
    void show_pointer();

    platform::Control& control_;
    QWidget& widget_;
    QObject relay_;
    platform::Subscription subscription_;
};

}  // namespace platform::qt
