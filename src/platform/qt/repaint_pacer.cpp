#include "platform/qt/repaint_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace platform::qt {

RepaintPacer::RepaintPacer(QWidget& window, std::chrono::milliseconds interval)
    : QObject(&window), window_(window), drawing_(interval, [this] { draw(); }) {
    window_.installEventFilter(this);
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event) {
    // Qt's widgets ask their window to draw what they marked dirty with an
    // update request; what stays dirty meanwhile is kept and drawn later.
    if (watched != &window_ || event->type() != QEvent::UpdateRequest || releasing_) {
        return false;
    }
    drawing_.request();
    return true;
}

void RepaintPacer::draw() {
    releasing_ = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window_, &request);
    releasing_ = false;
}

}  // namespace platform::qt
