#pragma once

#include "platform/forms/image.h"
#include "platform/qt/control_view.h"

class QFrame;
class QLabel;

namespace platform::qt {

// An image as a QLabel showing its picture drawn to the control's size. The
// label paints no background, so the window shows around the picture and an
// image beneath shows through its transparent parts. A click runs the
// control's click handler, if it has one.
class ImageView : public ControlView {
  public:
    ImageView(platform::Image& image, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    ImageView(platform::Image& image, QLabel& widget);
    void show_picture();

    platform::Image& image_;
    QLabel& widget_;
};

// A shape as a QFrame filled with its fill colour inside a thin black edge.
class ShapeView : public ControlView {
  public:
    ShapeView(platform::Shape& shape, QWidget& parent);

  protected:
    void on_change(const platform::ChangeEvent& event) override;

  private:
    ShapeView(platform::Shape& shape, QFrame& widget);
    void show_fill();

    platform::Shape& shape_;
    QFrame& widget_;
};

}  // namespace platform::qt
