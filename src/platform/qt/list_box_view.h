#pragma once

#include <chrono>

#include "platform/forms/list_box.h"
#include "platform/qt/control_view.h"
#include "platform/qt/paced_action.h"

class QListWidget;

namespace platform::qt {

// A list box as a QListWidget. The widget catches up with the model's lines
// at most every `catch_up_interval`: the status log of a busy server changes
// thousands of times a second, and moving the widget's rows for each change
// would cost more than serving the requests. The selected line moves with
// its text as lines come and go above it, as it would in the widget itself.
class ListBoxView : public ControlView {
  public:
    static constexpr std::chrono::milliseconds catch_up_interval{50};

    ListBoxView(platform::ListBox& list, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    ListBoxView(platform::ListBox& list, QListWidget& widget);

    // Where the widget's current line is in the model, through a change.
    void follow_current(const platform::ChangeEvent& event);
    void catch_up();

    platform::ListBox& list_;
    QListWidget& widget_;
    PacedAction catching_up_;
    // While the widget lags behind: the model's index of the line that is
    // current in the widget (-1 for none, or when it was removed), and
    // whether it is selected.
    int current_ = -1;
    bool current_selected_ = false;
    // The widget's current row when it began to lag.
    int current_in_widget_ = -1;
};

}  // namespace platform::qt
