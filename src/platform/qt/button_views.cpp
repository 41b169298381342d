#include "platform/qt/button_views.h"

#include <QIcon>
#include <QPushButton>
#include <algorithm>

#include "platform/qt/conversions.h"
#include "platform/qt/guarded.h"
#include "platform/qt/picture.h"

namespace platform::qt {

namespace {

void forward_clicks(QPushButton& widget, const platform::Button& button, QObject& relay) {
    QObject::connect(&widget, &QPushButton::clicked, &relay, [&button] {
        guarded({"click on", button.name()}, [&button] { button.click(); });
    });
}

// Room left around a picture for the button's raised edge.
constexpr int picture_margin = 3;

}  // namespace

CommandButtonView::CommandButtonView(platform::CommandButton& button, QWidget& parent)
    : CommandButtonView(button, *new QPushButton(&parent)) {}

CommandButtonView::CommandButtonView(platform::CommandButton& button, QPushButton& widget)
    : ControlView(button, widget), button_(button), widget_(widget) {
    widget_.setText(to_qstring(button_.caption()));
    forward_clicks(widget_, button_, relay());
}

void CommandButtonView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    if (event.what == platform::Change::Caption) {
        widget_.setText(to_qstring(button_.caption()));
    }
}

PictureButtonView::PictureButtonView(platform::PictureButton& button, QWidget& parent)
    : PictureButtonView(button, *new QPushButton(&parent)) {}

PictureButtonView::PictureButtonView(platform::PictureButton& button, QPushButton& widget)
    : ControlView(button, widget), button_(button), widget_(widget) {
    show_picture();
    forward_clicks(widget_, button_, relay());
}

void PictureButtonView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    if (event.what == platform::Change::Picture || event.what == platform::Change::Geometry) {
        show_picture();
    }
}

void PictureButtonView::show_picture() {
    const QSize size(std::max(0, widget_.width() - 2 * picture_margin),
                     std::max(0, widget_.height() - 2 * picture_margin));
    const QPixmap picture = render_picture(button_.picture(), size, widget_.devicePixelRatioF());
    widget_.setIconSize(size);
    widget_.setIcon(picture.isNull() ? QIcon() : QIcon(picture));
}

}  // namespace platform::qt
