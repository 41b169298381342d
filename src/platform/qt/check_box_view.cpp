#include "platform/qt/check_box_view.h"

#include <QCheckBox>
#include <QPalette>

#include "platform/guarded.h"

namespace platform::qt {

namespace {

Qt::CheckState to_check_state(int value) {
    switch (value) {
        case platform::CheckBox::ticked:
            return Qt::Checked;
        case platform::CheckBox::greyed:
            return Qt::PartiallyChecked;
        default:
            return Qt::Unchecked;
    }
}

}  // namespace

CheckBoxView::CheckBoxView(platform::CheckBox& box, QWidget& parent)
    : CheckBoxView(box, *new QCheckBox(&parent)) {}

CheckBoxView::CheckBoxView(platform::CheckBox& box, QCheckBox& widget)
    : ControlView(box, widget), box_(box), widget_(widget) {
    show_box_colors();
    show_value();
    // By the time `clicked` comes the widget has moved on by its own rules;
    // the model's rules are the ones that count.
    QObject::connect(&widget_, &QCheckBox::clicked, &relay(), [this] {
        guarded({"click on", box_.name()}, [this] { box_.toggled_by_user(); });
        show_value();
    });
}

void CheckBoxView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    if (event.what == platform::Change::Value) {
        show_value();
    } else if (event.what == platform::Change::Colors) {
        show_box_colors();
    }
}

void CheckBoxView::show_value() {
    widget_.setCheckState(to_check_state(box_.value()));
}

void CheckBoxView::show_box_colors() {
    // The control's colours paint around the box; the box itself keeps the
    // window system's white with a black tick, which a black form would
    // otherwise swallow. Disabled, it turns grey like any disabled box.
    QPalette palette = widget_.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(212, 208, 200));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    widget_.setPalette(palette);
}

}  // namespace platform::qt
