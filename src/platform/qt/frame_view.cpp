#include "platform/qt/frame_view.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyle>

#include "platform/qt/conversions.h"

namespace platform::qt {

namespace {

// The etched line of a frame: a shadow with a highlight one pixel to the
// right and below, the window system's classic colours. They show on dark
// forms and light ones alike, where the styles' own frames vanish on black.
const QColor etch_shadow(128, 128, 128);
const QColor etch_highlight(255, 255, 255);
// From the frame's left edge to its caption, and around the caption's text.
constexpr int caption_indent = 6;
constexpr int caption_padding = 2;

// A group box drawn as a frame: the etched line around the whole box, its
// top running through the middle of the caption, which sits on the
// control's own back colour.
class EtchedGroupBox : public QGroupBox {
  public:
    using QGroupBox::QGroupBox;

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const int top = title().isEmpty() ? 0 : metrics.height() / 2;
        const QRect line(0, top, width() - 1, height() - 1 - top);
        painter.setPen(etch_highlight);
        painter.drawRect(line.adjusted(1, 1, 0, 0));
        painter.setPen(etch_shadow);
        painter.drawRect(line.adjusted(0, 0, -1, -1));
        if (title().isEmpty()) {
            return;
        }
        const QSize text = metrics.size(Qt::TextShowMnemonic, title());
        const QRect caption(caption_indent, 0, text.width() + 2 * caption_padding, text.height());
        painter.fillRect(caption, palette().brush(QPalette::Window));
        style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                              isEnabled(), title(), QPalette::WindowText);
    }
};

}  // namespace

FrameView::FrameView(platform::Frame& frame, QWidget& parent)
    : FrameView(frame, *new EtchedGroupBox(&parent)) {}

FrameView::FrameView(platform::Frame& frame, QGroupBox& widget)
    : ControlView(frame, widget), frame_(frame), widget_(widget) {
    widget_.setTitle(to_qstring(frame_.caption()));
}

void FrameView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    if (event.what == platform::Change::Caption) {
        widget_.setTitle(to_qstring(frame_.caption()));
    }
}

}  // namespace platform::qt
