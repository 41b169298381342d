#include "platform/qt/focus_reporter.h"

#include <QEvent>
#include <QWidget>

#include "platform/forms/form.h"
#include "platform/guarded.h"

namespace platform::qt {

FocusReporter::FocusReporter(QWidget& widget, platform::Control& control, QObject& owner)
    : QObject(&owner), control_(control) {
    widget.installEventFilter(this);
}

bool FocusReporter::eventFilter(QObject* watched, QEvent* event) {
    // Focus that the model itself moved here comes back as well; the form
    // ignores a report about the control that already holds its focus.
    if (event->type() == QEvent::FocusIn) {
        guarded({"focus on", control_.name()},
                [this] { control_.form().focus_received(control_); });
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace platform::qt
