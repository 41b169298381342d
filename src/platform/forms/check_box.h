#pragma once

#include "platform/forms/control.h"

namespace platform {

// A box the user ticks and clears. It shows only the box; the text that
// goes with it is a label beside it.
class CheckBox : public Control {
  public:
    // The three values the box can hold. Greyed is shown, but only the
    // program sets it.
    static constexpr int cleared = 0;
    static constexpr int ticked = 1;
    static constexpr int greyed = 2;

    using Control::Control;

    int value() const { return value_; }
    // Throws platform::Failure for a value other than the three above.
    void set_value(int value);
    // Called by a view when the user has clicked the box: a ticked box is
    // cleared, any other ticked.
    void toggled_by_user() { set_value(value_ == ticked ? cleared : ticked); }

    bool takes_focus() const override { return true; }
    void accept(ControlVisitor& visitor) override { visitor.visit(*this); }

  private:
    int value_ = cleared;
};

}  // namespace platform
