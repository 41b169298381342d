#pragma once

#include <QPoint>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/forms/form.h"
#include "platform/qt/control_view.h"
#include "platform/qt/form_window.h"

namespace platform::qt {

// Shows a form as a top-level window of widgets, one per control, and keeps
// them in step with the model for as long as the renderer lives: caption,
// place, client size, border, layer, picture, colour, visibility and keyboard
// focus of the form, and all state of each control. The user's clicks, keys,
// moves, close requests and focus changes go back to the model.
//
// The form must outlive the renderer, or at least the event loop must not
// run between the form's end and the renderer's, unless the renderer has
// been detached: the widgets forward the user's actions to the controls they
// show.
class FormRenderer {
  public:
    explicit FormRenderer(platform::Form& form);
    FormRenderer(const FormRenderer&) = delete;
    FormRenderer& operator=(const FormRenderer&) = delete;
    ~FormRenderer();

    // The top-level widget that shows the form.
    QWidget& window() const { return *window_; }
    // The widget that shows a control, or nullptr when it is not on this form.
    QWidget* widget_of(const platform::Control& control) const;

    // Hides the window for good and stops it from following the form or
    // taking the user's input, so that the form may end while the window
    // still exists (a handler running inside the window closed it).
    void detach();

  private:
    void apply_border();
    void show_layer();
    void show_title();
    void on_change(const platform::ChangeEvent& event);
    void show_visibility();
    void show_size();
    void show_position();
    void show_color();
    void show_focus();
    void center_on_screen();
    void report_move(QPoint frame_position);

    platform::Form& form_;
    // Declared before the views, so that it ends after them: the window
    // owns the widgets they steer.
    std::unique_ptr<FormWindow> window_;
    std::vector<std::unique_ptr<ControlView>> views_;
    platform::Subscription subscription_;
    bool shown_before_ = false;
};

}  // namespace platform::qt
