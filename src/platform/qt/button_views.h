#pragma once

#include "platform/forms/buttons.h"
#include "platform/qt/control_view.h"

class QPushButton;

namespace platform::qt {

// A command button as a QPushButton with its caption; a click runs the
// control's click handler.
class CommandButtonView : public ControlView {
  public:
    CommandButtonView(platform::CommandButton& button, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    CommandButtonView(platform::CommandButton& button, QPushButton& widget);

    platform::CommandButton& button_;
    QPushButton& widget_;
};

// A picture button as a QPushButton showing its picture, drawn afresh
// whenever the picture or the button's size changes. A button with a caption
// shows the picture above it, smaller, so that both fit; one without shows
// the picture alone, filling the button.
class PictureButtonView : public ControlView {
  public:
    PictureButtonView(platform::PictureButton& button, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    PictureButtonView(platform::PictureButton& button, QPushButton& widget);
    void show_picture();

    platform::PictureButton& button_;
    QPushButton& widget_;
};

}  // namespace platform::qt
