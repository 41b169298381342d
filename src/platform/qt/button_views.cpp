#include "platform/qt/button_views.h"

#include <QIcon>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

#include "platform/guarded.h"
#include "platform/qt/conversions.h"
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
// Between a picture and its caption.
constexpr int caption_gap = 1;

// A push button that, once it has text, draws its icon centred above the
// text rather than beside it. Without text it is an ordinary QPushButton.
class CaptionedButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (text().isEmpty()) {
            QPushButton::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        // The style draws the bevel and the focus; the contents are ours.
        QStyleOptionButton bare = option;
        bare.text.clear();
        bare.icon = QIcon();
        painter.drawControl(QStyle::CE_PushButton, bare);

        QRect area =
            rect().adjusted(picture_margin, picture_margin, -picture_margin, -picture_margin);
        if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
            area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                           style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
        }
        const int text_height = fontMetrics().height();
        const QRect text_area(area.left(), area.bottom() + 1 - text_height, area.width(),
                              text_height);
        const QRect icon_area(area.left(), area.top(), area.width(),
                              area.height() - text_height - caption_gap);
        if (!icon().isNull()) {
            const QPixmap picture = icon().pixmap(iconSize(), devicePixelRatioF(),
                                                  isEnabled() ? QIcon::Normal : QIcon::Disabled);
            style()->drawItemPixmap(&painter, icon_area, Qt::AlignCenter, picture);
        }
        style()->drawItemText(&painter, text_area, Qt::AlignCenter | Qt::TextShowMnemonic,
                              palette(), isEnabled(), text(), QPalette::ButtonText);
    }
};

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
    : PictureButtonView(button, *new CaptionedButton(&parent)) {}

PictureButtonView::PictureButtonView(platform::PictureButton& button, QPushButton& widget)
    : ControlView(button, widget), button_(button), widget_(widget) {
    widget_.setText(to_qstring(button_.caption()));
    show_picture();
    forward_clicks(widget_, button_, relay());
}

void PictureButtonView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    switch (event.what) {
        case platform::Change::Caption:
            widget_.setText(to_qstring(button_.caption()));
            show_picture();
            break;
        case platform::Change::Picture:
        case platform::Change::Geometry:
        case platform::Change::Font:
            show_picture();
            break;
        default:
            break;
    }
}

void PictureButtonView::show_picture() {
    // A caption takes a line of the button's height, and the picture keeps
    // its proportions in what is left.
    const int caption_height =
        widget_.text().isEmpty() ? 0 : widget_.fontMetrics().height() + caption_gap;
    const int room = std::max(0, widget_.height() - 2 * picture_margin - caption_height);
    const int width = std::max(0, widget_.width() - 2 * picture_margin);
    const QSize size = caption_height == 0 ? QSize(width, room)
                                           : QSize(std::min(width, room), std::min(width, room));
    const QPixmap picture = render_picture(button_.picture(), size, widget_.devicePixelRatioF());
    widget_.setIconSize(size);
    widget_.setIcon(picture.isNull() ? QIcon() : QIcon(picture));
}

}  // namespace platform::qt
