#pragma once

#include "platform/forms/label.h"
#include "platform/qt/control_view.h"

class QLabel;

namespace platform::qt {

// A label as a QLabel showing its caption as plain text, wrapped at words or,
// for a path, at any character and shortened in the middle to fit the box. A
// click on it runs the control's click handler, if it has one.
class LabelView : public ControlView {
  public:
    LabelView(platform::Label& label, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    LabelView(platform::Label& label, QLabel& widget);
    void show_caption();
    void show_transparency();

    platform::Label& label_;
    QLabel& widget_;
};

}  // namespace platform::qt
