#include "platform/qt/repaint_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace platform::qt {

RepaintPacer::RepaintPacer(QWidget& window, std::chrono::milliseconds interval)
    : QObject(&window), window_(window), interval_(interval) {
    deferred_.setSingleShot(true);
    connect(&deferred_, &QTimer::timeout, this, [this] { draw_now(); });
    window_.installEventFilter(this);
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event) {
    // Qt's widgets ask their window to draw what they marked dirty with an
    // update request; what stays dirty meanwhile is kept and drawn later.
    if (watched != &window_ || event->type() != QEvent::UpdateRequest || releasing_) {
        return false;
    }
    const auto elapsed = std::chrono::milliseconds(since_drawn_.isValid() ? since_drawn_.elapsed()
                                                                          : interval_.count());
    if (elapsed >= interval_ && !deferred_.isActive()) {
        since_drawn_.start();
        return false;
    }
    if (!deferred_.isActive()) {
        deferred_.start(interval_ - elapsed);
    }
    return true;
}

void RepaintPacer::draw_now() {
    since_drawn_.start();
    releasing_ = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window_, &request);
    releasing_ = false;
}

}  // namespace platform::qt
