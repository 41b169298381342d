#include "platform/qt/click_reporter.h"

#include <QMouseEvent>
#include <QWidget>

#include "platform/guarded.h"

namespace platform::qt {

ClickReporter::ClickReporter(QWidget& widget, const platform::Control& control, QObject& owner)
    : QObject(&owner), widget_(widget), control_(control) {
    widget_.installEventFilter(this);
}

bool ClickReporter::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease) {
        return QObject::eventFilter(watched, event);
    }
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton || !control_.has_click_handler()) {
        pressed_ = false;
        return QObject::eventFilter(watched, event);
    }
    switch (type) {
        case QEvent::MouseButtonPress:
            pressed_ = true;
            break;
        case QEvent::MouseButtonDblClick:
            // The second press of a double click: the first one has been a
            // click already, and a link opened twice helps nobody.
            pressed_ = false;
            break;
        default: {
            const bool clicked = pressed_ && widget_.rect().contains(mouse->position().toPoint());
            pressed_ = false;
            if (clicked) {
                // The handler may close the form; nothing here is touched after it.
                guarded({"click on", control_.name()}, [this] { control_.click(); });
            }
            break;
        }
    }
    // Taken here: the press must not reach the window as one on its surface.
    event->accept();
    return true;
}

}  // namespace platform::qt
