#include "platform/qt/image_views.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>

#include "platform/qt/click_reporter.h"
#include "platform/qt/conversions.h"
#include "platform/qt/picture.h"

namespace platform::qt {

ImageView::ImageView(platform::Image& image, QWidget& parent)
    : ImageView(image, *new QLabel(&parent)) {}

ImageView::ImageView(platform::Image& image, QLabel& widget)
    : ControlView(image, widget), image_(image), widget_(widget) {
    // The shared view fills every control's background; a picture must not
    // hide the window, nor an image declared before it, outside its lines.
    widget_.setAutoFillBackground(false);
    widget_.setAlignment(Qt::AlignCenter);
    show_picture();
    new ClickReporter(widget_, image_, relay());
}

void ImageView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    if (event.what == platform::Change::Picture || event.what == platform::Change::Geometry) {
        show_picture();
    }
}

void ImageView::show_picture() {
    const QPixmap picture =
        render_picture(image_.picture(), widget_.size(), widget_.devicePixelRatioF());
    if (picture.isNull()) {
        widget_.clear();
    } else {
        widget_.setPixmap(picture);
    }
}

ShapeView::ShapeView(platform::Shape& shape, QWidget& parent)
    : ShapeView(shape, *new QFrame(&parent)) {}

ShapeView::ShapeView(platform::Shape& shape, QFrame& widget)
    : ControlView(shape, widget), shape_(shape), widget_(widget) {
    widget_.setFrameStyle(QFrame::Box | QFrame::Plain);
    widget_.setLineWidth(1);
    show_fill();
}

void ShapeView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    // The shared view has just painted the control's own colours over ours.
    if (event.what == platform::Change::Colors) {
        show_fill();
    }
}

void ShapeView::show_fill() {
    QPalette palette = widget_.palette();
    // All groups alike: a lamp keeps its colour when its window is inactive
    // or the shape is disabled.
    palette.setColor(QPalette::Window, to_qcolor(shape_.fill_color()));
    palette.setColor(QPalette::WindowText, Qt::black);
    widget_.setPalette(palette);
}

}  // namespace platform::qt
