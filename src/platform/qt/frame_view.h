#pragma once

#include "platform/forms/frame.h"
#include "platform/qt/control_view.h"

class QGroupBox;

namespace platform::qt {

// A frame as a QGroupBox titled with its caption, drawn with an etched line
// that shows on any back colour. The widgets of the controls in the frame are
// its children: they are placed from its corner and hide with it.
class FrameView : public ControlView {
  public:
    FrameView(platform::Frame& frame, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    FrameView(platform::Frame& frame, QGroupBox& widget);

    platform::Frame& frame_;
    QGroupBox& widget_;
};

}  // namespace platform::qt
