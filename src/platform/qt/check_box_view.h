#pragma once

#include "platform/forms/check_box.h"
#include "platform/qt/control_view.h"

class QCheckBox;

namespace platform::qt {

// A check box as a QCheckBox without text, greyed showing as partly checked.
// The box is always drawn white with a black tick, so that it shows on the
// dark forms it sits on. A click by the user goes to the model, and the
// widget then shows whatever the model holds: the two never disagree.
class CheckBoxView : public ControlView {
  public:
    CheckBoxView(platform::CheckBox& box, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    CheckBoxView(platform::CheckBox& box, QCheckBox& widget);
    void show_value();
    void show_box_colors();

    platform::CheckBox& box_;
    QCheckBox& widget_;
};

}  // namespace platform::qt
