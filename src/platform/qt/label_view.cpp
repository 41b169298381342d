#include "platform/qt/label_view.h"

#include <QLabel>

#include "platform/qt/click_reporter.h"
#include "platform/qt/conversions.h"

namespace platform::qt {

LabelView::LabelView(platform::Label& label, QWidget& parent)
    : LabelView(label, *new QLabel(&parent)) {}

LabelView::LabelView(platform::Label& label, QLabel& widget)
    : ControlView(label, widget), label_(label), widget_(widget) {
    // A caption is text to read, never markup to interpret.
    widget_.setTextFormat(Qt::PlainText);
    widget_.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget_.setWordWrap(true);
    widget_.setText(to_qstring(label_.caption()));
    show_transparency();
    new ClickReporter(widget_, label_, relay());
}

// A transparent label lets the form's picture show around its text.
void LabelView::show_transparency() {
    widget_.setAutoFillBackground(!label_.transparent());
}

void LabelView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    if (event.what == platform::Change::Caption) {
        widget_.setText(to_qstring(label_.caption()));
    } else if (event.what == platform::Change::Colors) {
        show_transparency();
    }
}

}  // namespace platform::qt
